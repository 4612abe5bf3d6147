#include "platform/windows/win32_launcher.h"

#include "platform/windows/win32_api.h"

#include <shellapi.h>

namespace pellox::win32 {

bool Win32Launcher::NameFitsTheShell(const std::string& file) {
  const int characters =
      MultiByteToWideChar(CP_ACP, 0, file.data(), static_cast<int>(file.size()), nullptr, 0);
  return characters < MAX_PATH;
}

void Win32Launcher::Open(void* owner, const std::string& file, const std::string& parameters) {
  // A longer name cannot name anything the shell opens, and some shells do
  // not survive one (Wine's ShellExecuteA crashes the process from about
  // 1,000 characters on): a failed launch, so the call is not made.
  if (!NameFitsTheShell(file)) return;
  // Empty texts go as empty strings, never as null: the shell treats the
  // two differently.
  ShellExecuteA(static_cast<HWND>(owner), "OPEN", file.c_str(), parameters.c_str(), "", SW_SHOW);
}

}  // namespace pellox::win32
