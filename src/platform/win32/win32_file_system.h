// List file access on Windows.
#pragma once

#include "platform/file_system.h"

namespace pellox::win32 {

// Files through CreateFileA and friends. Every failure raises EInOutError
// with GetLastError(); a path of MAX_PATH (260) bytes or more fails with
// ERROR_FILENAME_EXCED_RANGE instead of being shortened to another name.
class Win32FileSystem : public FileSystem {
 public:
  // GENERIC_READ, shared for reading, OPEN_EXISTING.
  std::unique_ptr<File> OpenForReading(const std::string& path) override;
  // A new file "~pellox<n>.tmp" (CREATE_NEW, so never someone else's) in the
  // folder part of `target`.
  std::unique_ptr<File> CreateTempBeside(const std::string& target, std::string& tempPath) override;
  // MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
  void Replace(const std::string& source, const std::string& target) override;
  // DeleteFileA, ignoring failure.
  void Remove(const std::string& path) noexcept override;
};

}  // namespace pellox::win32
