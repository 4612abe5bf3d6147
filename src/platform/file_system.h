// File access for list files. System-independent interface; the platform
// folders implement it. Every failing call raises EInOutError with the
// system's error code (Windows numbering).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace pellox {

class File {
 public:
  virtual ~File() = default;
  // Reads up to `size` bytes; returns 0 only at the end of the file.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // Writes all `size` bytes.
  virtual void Write(const char* data, size_t size) = 0;
  // Writes out what is still buffered and releases the file; a file that is
  // destroyed without Close is released without a check.
  virtual void Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens the existing file at `path` for reading; others may read it too.
  virtual std::unique_ptr<File> OpenForReading(const std::string& path) = 0;

  // Creates a new, empty file for writing in the folder that will hold
  // `target` (the folder of what a link at `target` points to) and stores
  // its path in `tempPath`.
  virtual std::unique_ptr<File> CreateTempBeside(const std::string& target,
                                                 std::string& tempPath) = 0;

  // Puts the closed file `source` in the place of `target` in one step; an
  // existing target keeps its permissions, and a link at `target` keeps
  // being a link to the replaced file.
  virtual void Replace(const std::string& source, const std::string& target) = 0;

  // Deletes `path`, ignoring any failure.
  virtual void Remove(const std::string& path) noexcept = 0;
};

}  // namespace pellox
