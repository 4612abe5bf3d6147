#include "platform/win32/last_error.h"

#include "common/errors.h"

namespace pellox::win32 {

void ThrowLastInOutError() { throw EInOutError(static_cast<int>(GetLastError())); }

void ThrowLastWin32Error() {
  const DWORD code = GetLastError();
  throw EWin32Error(code, SystemMessageText(code));
}

std::string SystemMessageText(DWORD code) {
  char buffer[256];
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

}  // namespace pellox::win32
