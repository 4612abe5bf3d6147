// Starting programs and opening documents on Linux.
#pragma once

#include "platform/launcher.h"

namespace pellox {

// Starts an executable file directly (no shell) with the parameter text split
// into words by SplitArgumentWords; anything else goes to xdg-open as a
// document. The child inherits the current folder and the environment.
class PosixLauncher : public Launcher {
 public:
  // Starts `file` and returns at once. `owner` is not used. An empty name
  // starts nothing; a program that cannot be started is ignored; a started
  // program is never waited for and leaves no zombie behind.
  void Open(void* owner, const std::string& file, const std::string& parameters) override;
};

}  // namespace pellox
