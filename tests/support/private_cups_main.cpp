// pellox_private_cups [-p PRINTER]... -- COMMAND [ARGUMENT]...
//
// Runs COMMAND beside a private CUPS scheduler holding the given printers
// and exits with its exit status. COMMAND reaches the scheduler through
// CUPS_SERVER and finds the printers' names in PELLOX_PRIVATE_CUPS (blank
// separated), which tells tests what to expect (with PELLOX_NO_CUPS=1 it
// runs COMMAND alone). This is how the Windows tests,
// under Wine, meet real CUPS printers: Wine's spooler lists the CUPS
// scheduler's queues as Windows printers.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cups_fixture.h"

extern char** environ;

namespace {

using pellox::testing::PrivateCupsScheduler;

// The running command, to which SIGINT and SIGTERM are passed on: it ends,
// and the scheduler is stopped after it rather than left behind.
volatile sig_atomic_t g_command = 0;

void PassSignalOn(int number) {
  if (g_command > 0) kill(g_command, number);
}

struct Arguments {
  std::vector<std::string> Printers;
  std::vector<char*> Command;  // null-terminated
};

bool ParseArguments(int argc, char** argv, Arguments& arguments) {
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "-p") != 0 || i + 1 == argc) return false;
    arguments.Printers.push_back(argv[++i]);
  }
  if (i + 1 >= argc) return false;
  arguments.Command.assign(argv + i + 1, argv + argc);
  arguments.Command.push_back(nullptr);
  return true;
}

// Starts the command and waits for it; the exit status it ended with, or
// 128 + the signal that ended it (as a shell reports it).
int RunCommand(std::vector<char*>& command) {
  pid_t pid = -1;
  const int result = posix_spawnp(&pid, command[0], nullptr, nullptr, command.data(), environ);
  if (result != 0) {
    std::fprintf(stderr, "pellox_private_cups: cannot start %s: %s\n", command[0],
                 std::strerror(result));
    return 127;
  }
  g_command = pid;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  if (!ParseArguments(argc, argv, arguments)) {
    std::fprintf(stderr, "usage: %s [-p PRINTER]... -- COMMAND [ARGUMENT]...\n", argv[0]);
    return 2;
  }
  // PELLOX_NO_CUPS=1 opts out of the CUPS tests: the command runs alone and
  // its printer tests skip.
  if (pellox::testing::CupsTestsDisabled()) return RunCommand(arguments.Command);

  signal(SIGINT, PassSignalOn);
  signal(SIGTERM, PassSignalOn);

  // Only CUPS_SERVER points at the scheduler: the command keeps the user's
  // HOME, where X and Wine find their own settings.
  PrivateCupsScheduler scheduler;
  std::string error;
  bool ready = scheduler.Start(error);
  if (ready) setenv("CUPS_SERVER", scheduler.SocketPath().c_str(), 1);
  for (const std::string& name : arguments.Printers) {
    ready = ready && scheduler.AddPrinter(name, error);
  }
  if (!ready) {
    std::fprintf(stderr, "pellox_private_cups: %s\n", error.c_str());
    return 125;
  }
  std::string names;
  for (const std::string& name : arguments.Printers) names += (names.empty() ? "" : " ") + name;
  setenv("PELLOX_PRIVATE_CUPS", names.c_str(), 1);
  const int status = RunCommand(arguments.Command);
  scheduler.Stop();
  return status;
}
