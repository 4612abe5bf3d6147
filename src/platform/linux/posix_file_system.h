// List file access on Linux.
#pragma once

#include "common/errors.h"
#include "platform/file_system.h"

namespace pellox {

// Files through POSIX calls. Every failure raises EInOutError with the errno
// mapped by ErrnoToInOutCode. Paths are used as given, never shortened.
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

// The EInOutError code (in_out::Code) for an errno value: ENOENT
// kFileNotFound, ENOTDIR kPathNotFound, EMFILE/ENFILE kTooManyOpenFiles,
// EACCES/EPERM/EROFS/EISDIR kAccessDenied, ENOSPC kDiskFull; any other
// value is kept as it is.
int ErrnoToInOutCode(int errnoValue);

// The EInOutError for `errnoValue`: the table's code where ErrnoToInOutCode
// maps it, otherwise the errno itself with the numbered message ("I/O
// エラー (%d)"), also where that number is a Windows code with a text.
EInOutError InOutErrorFor(int errnoValue);

// Raises InOutErrorFor(errnoValue).
[[noreturn]] void ThrowInOutErrno(int errnoValue);

// Refuses a path that names no regular file (code 5, like a folder).
[[noreturn]] void ThrowNotARegularFile();

}  // namespace pellox
