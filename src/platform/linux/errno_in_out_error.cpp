#include "platform/linux/errno_in_out_error.h"

#include <cerrno>
#include <optional>

namespace pellox {
namespace {

// The code of the table for an errno that has one.
std::optional<int> TableCodeFor(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return in_out::kFileNotFound;
    case ENOTDIR:
      return in_out::kPathNotFound;
    case EMFILE:
    case ENFILE:
      return in_out::kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return in_out::kAccessDenied;
    case ENOSPC:
      return in_out::kDiskFull;
    default:
      return std::nullopt;
  }
}

}  // namespace

int ErrnoToInOutCode(int errnoValue) { return TableCodeFor(errnoValue).value_or(errnoValue); }

EInOutError InOutErrorFor(int errnoValue) {
  // An errno that the table does not know keeps its own number, which may
  // be a Windows code with another meaning (EIO is 5, access denied).
  const std::optional<int> code = TableCodeFor(errnoValue);
  return code ? EInOutError(*code) : EInOutError::Unlisted(errnoValue);
}

[[noreturn]] void ThrowInOutErrno(int errnoValue) { throw InOutErrorFor(errnoValue); }

// Access denied, as for a folder: the path names something that is read or
// written by other rules than a list file (a device, a FIFO, a socket).
[[noreturn]] void ThrowNotARegularFile() { ThrowInOutErrno(EACCES); }

}  // namespace pellox
