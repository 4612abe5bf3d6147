#include "platform/windows/last_error.h"

#include "common/errors.h"
#include "platform/windows/text_conversion.h"

namespace pellox::win32 {

// The system's own codes reach EInOutError unchanged, so the error table's
// codes must be the system's numbers.
static_assert(in_out::kFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(in_out::kPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(in_out::kTooManyOpenFiles == ERROR_TOO_MANY_OPEN_FILES);
static_assert(in_out::kAccessDenied == ERROR_ACCESS_DENIED);

void ThrowLastInOutError() { throw EInOutError(static_cast<int>(GetLastError())); }

void ThrowLastWin32Error() {
  const DWORD code = GetLastError();
  throw EWin32Error(code, SystemMessageText(code));
}

std::string SystemMessageText(DWORD code) {
  // Taken wide: the A variant would give it in the ANSI code page, which
  // the UTF-8 text it is joined to does not share.
  wchar_t buffer[256];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, 256, nullptr);
  return Utf8FromWide(std::wstring_view(buffer, length));
}

}  // namespace pellox::win32
