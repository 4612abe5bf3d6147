// The list file's EInOutError for a failed POSIX call's errno, shared by
// the Linux file layer (file system, replacements, descriptors, kept copies).
#pragma once

#include "common/errors.h"

namespace pellox {

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
