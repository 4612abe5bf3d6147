// A CUPS scheduler that has stopped answering: a socket that takes every
// connection and never reads or writes a byte, for the tests of what a
// stalled printing system costs.
#pragma once

#include <string>

#include "temp_folder.h"

namespace pellox::testing {

class StalledScheduler {
 public:
  // Listens at SocketPath(); aborts the test program when it cannot.
  StalledScheduler();
  ~StalledScheduler();
  StalledScheduler(const StalledScheduler&) = delete;
  StalledScheduler& operator=(const StalledScheduler&) = delete;

  // For CUPS_SERVER.
  const std::string& SocketPath() const { return socketPath_; }

 private:
  TempFolder folder_;
  std::string socketPath_;
  int socket_ = -1;
};

}  // namespace pellox::testing
