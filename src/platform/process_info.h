// What the process knows of itself. System-independent interface.
#pragma once

#include <string>
#include <vector>

namespace pellox {

class ProcessInfo {
 public:
  virtual ~ProcessInfo() = default;
  // The full path of the program's own file; empty where the system cannot
  // tell it. Raises nothing.
  virtual std::string ModuleFileName() = 0;
  // The command-line arguments after the program's name, split by the
  // platform's rules. Never fails.
  virtual std::vector<std::string> Arguments() = 0;
  // The bytes that separate folders in a path ("/" on Linux, "\\:" on
  // Windows).
  virtual std::string PathSeparators() = 0;
};

}  // namespace pellox
