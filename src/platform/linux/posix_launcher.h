// Starting programs and opening documents on Linux.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/launcher.h"
#include "platform/linux/child_reaper.h"

namespace pellox {

// The environment of this process as it is now, as "NAME=value" entries.
std::vector<std::string> CurrentEnvironment();

// Starts an executable file directly (no shell) with the parameter text split
// into words by SplitArgumentWords; anything else goes to xdg-open as a
// document. The child inherits the current folder.
class PosixLauncher : public Launcher {
 public:
  // Children get this process's environment as it is at each launch.
  PosixLauncher() = default;
  // Children get `environment` ("NAME=value" entries), and programs are
  // looked up on its PATH: the environment this program was started with,
  // before it set anything for itself.
  explicit PosixLauncher(std::vector<std::string> environment);

  // Starts `file` and returns at once. `owner` is not used. An empty name
  // starts nothing; a program that cannot be started (a missing file, a
  // process limit) is ignored; a started program is never waited for and
  // leaves no zombie behind.
  void Open(void* owner, const std::string& file, const std::string& parameters) override;

 private:
  std::optional<std::string> FindOnPath(const std::string& name) const;
  std::optional<std::string> ResolveProgram(const std::string& file) const;
  void Spawn(const std::string& program, const std::vector<std::string>& words);

  std::optional<std::vector<std::string>> environment_;
  std::vector<char*> environmentPointers_;
  ChildReaper reaper_;
};

}  // namespace pellox
