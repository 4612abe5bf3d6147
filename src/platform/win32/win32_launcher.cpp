#include "platform/win32/win32_launcher.h"

#include "platform/win32/win32_api.h"

#include <shellapi.h>

namespace pellox::win32 {

void Win32Launcher::Open(void* owner, const std::string& file, const std::string& parameters) {
  // Empty texts go as empty strings, never as null: the shell treats the
  // two differently.
  ShellExecuteA(static_cast<HWND>(owner), "OPEN", file.c_str(), parameters.c_str(), "", SW_SHOW);
}

}  // namespace pellox::win32
