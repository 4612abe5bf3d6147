// Starting programs and documents on Windows.
#pragma once

#include <string>

#include "platform/launcher.h"

namespace pellox::win32 {

// The shell's "OPEN" verb through ShellExecuteA, shown with SW_SHOW, in the
// current folder (an empty directory string). The result is not examined.
class Win32Launcher : public Launcher {
 public:
  void Open(void* owner, const std::string& file, const std::string& parameters) override;

  // Whether the shell is given `file` at all: a name of at most MAX_PATH - 1
  // characters in the ANSI code page, the longest path the shell takes.
  // Anything longer is a failed launch, like a name of nothing.
  static bool NameFitsTheShell(const std::string& file);
};

}  // namespace pellox::win32
