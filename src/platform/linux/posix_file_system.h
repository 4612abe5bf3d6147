// List file access on Linux.
#pragma once

#include "platform/file_system.h"

namespace pellox {

// Files through POSIX calls. Every failure raises EInOutError with the errno
// mapped by ErrnoToInOutCode (errno_in_out_error.h). Paths are used as given, never shortened.
class PosixFileSystem : public FileSystem {
 public:
  // Opens a regular file read-only without waiting: a FIFO, a device, a
  // socket or a folder fails at once with code 5.
  std::unique_ptr<File> OpenForReading(const std::string& path) override;

  // Replaces the file that `path` names, following a symbolic link at
  // `path` where the kernel would (not one planted in a sticky folder by
  // another user, under fs.protected_symlinks). A file that a rename would
  // change in more than its contents (another owner or group, more than
  // one name, extended attributes such as an access control list, a folder
  // the user may not write) is overwritten in place
  // (CreateInPlaceReplacement: a copy of its old contents kept meanwhile);
  // otherwise the new contents go into a temporary file in the same folder
  // that is renamed onto the old one. A read-only file, another user's file
  // that the kernel protects in a sticky folder, a folder or anything else
  // that is no regular file is refused with code 5.
  std::unique_ptr<FileReplacement> Replace(const std::string& path) override;
};

}  // namespace pellox
