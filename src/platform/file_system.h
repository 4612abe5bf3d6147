// File access for list files. System-independent interface; the platform
// folders implement it. Every failing call raises EInOutError with the
// system's error code (Windows numbering).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace pellox {

// An open file being read.
class File {
 public:
  virtual ~File() = default;
  // Reads up to `size` bytes; returns 0 only at the end of the file.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // Releases the file; a file that is destroyed without Close is released
  // without a check.
  virtual void Close() = 0;
};

// New contents on their way into the place of a file's old ones. Until
// Commit has taken them there, the file keeps its old contents (or gets
// them back); a replacement destroyed without that leaves the file as it
// was, and a new file is not created. A file that is written in place
// (where a new file would lose what it is) does not load as a list while
// it is written, never as a mix of old and new; its old contents are kept
// in a copy on the disk meanwhile, which stays where a save is stopped
// before the file is whole again (the implementations tell where).
class FileReplacement {
 public:
  virtual ~FileReplacement() = default;
  // Writes all `size` bytes of the new contents.
  virtual void Write(const char* data, size_t size) = 0;
  // Makes what was written the file's contents, on the disk. A failure
  // after the new contents took the file's place (closing it, making the
  // change last) raises an error whose ContentsReplaced() is true.
  virtual void Commit() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens the existing regular file at `path` for reading; others may read
  // it too. Anything else (a folder, a device, a pipe) fails at once.
  virtual std::unique_ptr<File> OpenForReading(const std::string& path) = 0;

  // Starts replacing the contents of the file at `path`, creating it when
  // it is missing. Nothing else about the file changes: a link at `path`
  // stays a link, and an existing file keeps its permissions, owner and
  // other names. Anything but a regular file fails at once.
  virtual std::unique_ptr<FileReplacement> Replace(const std::string& path) = 0;
};

}  // namespace pellox
