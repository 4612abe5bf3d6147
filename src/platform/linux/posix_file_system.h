// List file access on Linux.
#pragma once

#include "platform/file_system.h"

namespace pellox {

// Files through POSIX calls. Every failure raises EInOutError with the errno
// mapped by ErrnoToInOutCode. Paths are used as given, never shortened.
class PosixFileSystem : public FileSystem {
 public:
  // Opens a regular file read-only; a folder fails with code 5.
  std::unique_ptr<File> OpenForReading(const std::string& path) override;

  // Creates ".<name>.XXXXXX" (unique, mode 0600) in the folder of the file
  // that `target` names, following a symbolic link at `target`.
  std::unique_ptr<File> CreateTempBeside(const std::string& target, std::string& tempPath) override;

  // Gives `source` the permission bits of an existing target and renames it
  // onto the file a link at `target` points to, so the link stays a link.
  void Replace(const std::string& source, const std::string& target) override;

  // Unlinks `path`; failures are ignored.
  void Remove(const std::string& path) noexcept override;
};

// The EInOutError code (Windows numbering) for an errno value: ENOENT 2,
// ENOTDIR 3, EMFILE/ENFILE 4, EACCES/EPERM/EROFS/EISDIR 5, ENOSPC 101; any
// other value is kept as it is.
int ErrnoToInOutCode(int errnoValue);

}  // namespace pellox
