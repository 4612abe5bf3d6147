// Turns the calling thread's last Win32 error into the core's error classes.
// Every failing system call of the Windows layer ends here.
#pragma once

#include "platform/windows/win32_api.h"

#include <string>

namespace pellox::win32 {

// Raises EInOutError carrying GetLastError().
[[noreturn]] void ThrowLastInOutError();

// Raises EWin32Error carrying GetLastError() and the system's text for it.
[[noreturn]] void ThrowLastWin32Error();

// The system's message text for `code` in the default language, as
// FormatMessageW gives it into a 256-character buffer, in UTF-8 like every
// message of the core; empty when the system has none.
std::string SystemMessageText(DWORD code);

}  // namespace pellox::win32
