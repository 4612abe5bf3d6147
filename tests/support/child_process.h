// Running helper commands from tests, with a bounded wait.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace pellox::testing {

struct CommandResult {
  bool Started = false;   // posix_spawnp succeeded
  bool TimedOut = false;  // killed after the time limit
  int ExitStatus = -1;    // the exit status when it exited normally
  std::string Output;     // standard output and standard error together
};

// Starts `argv` (looked up on PATH) with standard output and standard error
// going to `outputPath` and no standard input; returns its pid, or -1.
pid_t StartCommand(const std::vector<std::string>& argv, const std::string& outputPath);

// Runs `argv` (looked up on PATH) and waits at most `timeoutSeconds`; a
// command still running then is killed and reaped.
CommandResult RunCommand(const std::vector<std::string>& argv, int timeoutSeconds = 20);

// Waits at most `timeoutSeconds` for `pid` (a child) to end; kills it when
// it is still running then. Returns the wait status, or -1.
int WaitOrKill(pid_t pid, int timeoutSeconds);

// Polls `condition` every 20 ms for at most `timeoutSeconds`; true when it
// held within that time.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutSeconds);

// Sleeps one polling step (20 ms) and adds it to `*elapsedMs`.
void PollPause(int* elapsedMs);

template <typename Condition>
bool WaitUntil(Condition condition, int timeoutSeconds) {
  int elapsedMs = 0;
  while (!condition()) {
    if (elapsedMs >= timeoutSeconds * 1000) return false;
    PollPause(&elapsedMs);
  }
  return true;
}

}  // namespace pellox::testing
