// Starting a program or opening a document. System-independent interface.
#pragma once

#include <string>

namespace pellox {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Asks the system to open `file` (a program or a document) with the
  // parameter text `parameters`, shown normally, in the current folder, with
  // `owner` (a window handle or null) as owner of anything the system shows.
  // Returns without waiting for the program; failures are not reported.
  virtual void Open(void* owner, const std::string& file, const std::string& parameters) = 0;
};

}  // namespace pellox
