// What the process knows of itself on Linux.
#pragma once

#include <string>
#include <vector>

#include "platform/process_info.h"

namespace pellox {

// The folder separator of Linux paths, for the core (PathSeparators) and
// the Linux layer and Qt window alike.
inline constexpr char kPosixPathSeparators[] = "/";

class LinuxProcessInfo : public ProcessInfo {
 public:
  // Keeps a copy of main's arguments.
  LinuxProcessInfo(int argc, char** argv);

  // The target of /proc/self/exe; empty when it cannot be read.
  std::string ModuleFileName() override;
  // argv[1..], as the kernel passed them.
  std::vector<std::string> Arguments() override;
  // kPosixPathSeparators.
  std::string PathSeparators() override;

 private:
  std::vector<std::string> arguments_;
};

}  // namespace pellox
