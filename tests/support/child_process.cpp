#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "temp_folder.h"

extern char** environ;

namespace pellox::testing {

void PollPause(int* elapsedMs) {
  usleep(20 * 1000);
  *elapsedMs += 20;
}

int WaitOrKill(pid_t pid, int timeoutSeconds) {
  int status = 0;
  pid_t done = 0;
  bool ended = WaitUntil(
      [&] {
        done = waitpid(pid, &status, WNOHANG);
        return done != 0;
      },
      timeoutSeconds);
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }
  return done == pid ? status : -1;
}

pid_t StartCommand(const std::vector<std::string>& argv, const std::string& outputPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  bool started = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return started ? pid : -1;
}

CommandResult RunCommand(const std::vector<std::string>& argv, int timeoutSeconds) {
  CommandResult result;
  TempFolder folder;
  const std::string outputPath = folder / "output";
  pid_t pid = StartCommand(argv, outputPath);
  result.Started = pid > 0;
  if (!result.Started) return result;

  int status = WaitOrKill(pid, timeoutSeconds);
  result.TimedOut = status == -1;
  if (!result.TimedOut && WIFEXITED(status)) result.ExitStatus = WEXITSTATUS(status);
  result.Output = ReadFile(outputPath);
  return result;
}

}  // namespace pellox::testing
