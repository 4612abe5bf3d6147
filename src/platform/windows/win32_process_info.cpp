#include "platform/windows/win32_process_info.h"

#include "platform/windows/win32_api.h"

#include "app/command_line.h"

namespace pellox::win32 {

std::string Win32ProcessInfo::ModuleFileName() {
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::string path(size, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) return {};
    // A length equal to the buffer size means the path was cut.
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
}

std::vector<std::string> Win32ProcessInfo::Arguments() {
  return SplitCommandLine(commandLine_ ? *commandLine_ : std::string(GetCommandLineA()));
}

std::string Win32ProcessInfo::PathSeparators() { return kPathSeparators; }

}  // namespace pellox::win32
