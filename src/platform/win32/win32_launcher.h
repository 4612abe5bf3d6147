// Starting programs and documents on Windows.
#pragma once

#include "platform/launcher.h"

namespace pellox::win32 {

// The shell's "OPEN" verb through ShellExecuteA, shown with SW_SHOW, in the
// current folder (an empty directory string). The result is not examined.
class Win32Launcher : public Launcher {
 public:
  void Open(void* owner, const std::string& file, const std::string& parameters) override;
};

}  // namespace pellox::win32
