// A CUPS scheduler that never finishes an answer, for the tests of what a
// broken printing system costs: a socket that takes every connection and
// then says nothing, says its status line and one byte at a time, or sends
// an answer without end as fast as the client reads it.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "temp_folder.h"

namespace pellox::testing {

class FaultyScheduler {
 public:
  enum class Fault {
    Silent,   // never reads or writes a byte (a stalled scheduler)
    Trickle,  // "HTTP/1.1 200 OK", then one byte every 0.3 s, for ever
    Flood,    // an IPP answer whose attributes never end
  };

  // Listens at SocketPath(); aborts the test program when it cannot.
  explicit FaultyScheduler(Fault fault = Fault::Silent);
  ~FaultyScheduler();
  FaultyScheduler(const FaultyScheduler&) = delete;
  FaultyScheduler& operator=(const FaultyScheduler&) = delete;

  // For CUPS_SERVER.
  const std::string& SocketPath() const { return socketPath_; }

 private:
  void Accept();
  void Answer(int client);
  bool Send(int client, const std::string& bytes);
  bool Stopping(int waitMs);

  Fault fault_;
  TempFolder folder_;
  std::string socketPath_;
  int socket_ = -1;
  int stop_ = -1;  // an eventfd, readable once the scheduler stops
  std::thread acceptor_;
  std::mutex mutex_;
  std::vector<std::thread> answers_;
};

}  // namespace pellox::testing
