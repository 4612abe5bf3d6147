// Running a program whose work this one cannot bound itself, and taking its
// standard output within a deadline and up to a size: whatever the program
// meets, the call returns by the deadline, holds at most that many bytes,
// and leaves no process behind.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/linux/child_reaper.h"

namespace pellox {

struct BoundedOutput {
  enum class End {
    Finished,    // the output ended (the program closed it or ended)
    TimedOut,    // the deadline passed first
    TooLong,     // the output grew beyond the size allowed
    NotStarted,  // the program could not be started; Error says why
  };
  End How = End::NotStarted;
  std::string Output;  // all of it when Finished, else what came
  int Error = 0;       // errno value, for NotStarted
};

// Starts `program` (a path) with `arguments` (argv[1..]), this process's
// environment, standard input from /dev/null, standard error inherited and
// a clean signal state, and reads its standard output until it ends, the
// steady clock passes `deadline`, or more than `maxBytes` came. A program
// still running then is killed. Every program started is collected through
// `reaper`, so none stays a zombie and this call never waits for one that
// will not end (a kill can take a while to land in a stuck system call).
BoundedOutput RunBounded(const std::string& program, const std::vector<std::string>& arguments,
                         std::chrono::steady_clock::time_point deadline, size_t maxBytes,
                         ChildReaper& reaper);

}  // namespace pellox
