// What the process knows of itself on Windows.
#pragma once

#include <optional>
#include <string>

#include "platform/process_info.h"

namespace pellox::win32 {

// The folder separators of Windows paths, for the core (PathSeparators)
// and the Windows layer alike.
inline constexpr char kPathSeparators[] = "\\:";

// The module path from GetModuleFileNameA and the arguments split from the
// whole command line by SplitCommandLine.
class Win32ProcessInfo : public ProcessInfo {
 public:
  // Reads GetCommandLineA() when asked.
  Win32ProcessInfo() = default;
  // Uses `commandLine` instead of the process's own (the tests start the
  // window with a command line of their choice).
  explicit Win32ProcessInfo(std::string commandLine) : commandLine_(std::move(commandLine)) {}

  // The full path, never cut: the buffer grows until the path fits.
  std::string ModuleFileName() override;
  std::vector<std::string> Arguments() override;
  // kPathSeparators.
  std::string PathSeparators() override;

 private:
  std::optional<std::string> commandLine_;
};

}  // namespace pellox::win32
