// What the process knows of itself on Linux.
#pragma once

#include <string>
#include <vector>

#include "platform/process_info.h"

namespace pellox {

class LinuxProcessInfo : public ProcessInfo {
 public:
  // Keeps a copy of main's arguments.
  LinuxProcessInfo(int argc, char** argv);

  // The target of /proc/self/exe; empty when it cannot be read.
  std::string ModuleFileName() override;
  // argv[1..], as the kernel passed them.
  std::vector<std::string> Arguments() override;
  // "/".
  std::string PathSeparators() override;

 private:
  std::vector<std::string> arguments_;
};

}  // namespace pellox
