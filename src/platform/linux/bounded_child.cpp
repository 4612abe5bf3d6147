#include "platform/linux/bounded_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/linux/clean_spawn.h"

extern char** environ;

namespace pellox {
namespace {

using Clock = std::chrono::steady_clock;

class Pipe {
 public:
  Pipe() {
    if (pipe2(ends_, O_CLOEXEC) != 0) ends_[0] = ends_[1] = -1;
  }
  ~Pipe() {
    CloseReading();
    CloseWriting();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  bool Open() const { return ends_[0] >= 0; }
  int Reading() const { return ends_[0]; }
  int Writing() const { return ends_[1]; }
  void CloseReading() { CloseEnd(0); }
  void CloseWriting() { CloseEnd(1); }

 private:
  void CloseEnd(int end) {
    if (ends_[end] >= 0) close(ends_[end]);
    ends_[end] = -1;
  }
  int ends_[2];
};

class FileActions {
 public:
  FileActions() { ready_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (ready_) posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;

  // Standard input from /dev/null, standard output into `output`.
  bool Set(int output) {
    return ready_ &&
           posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
           posix_spawn_file_actions_adddup2(&actions_, output, 1) == 0;
  }
  const posix_spawn_file_actions_t* Get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ready_ = false;
};

// The wait for poll: at most an hour at a time.
int MillisecondsUntil(Clock::time_point deadline) {
  constexpr std::chrono::milliseconds kLongest = std::chrono::hours(1);
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::clamp(left, std::chrono::milliseconds(0), kLongest).count());
}

// Reads `fd` until it ends, the deadline passes or `maxBytes` is exceeded.
BoundedOutput::End ReadUntilBound(int fd, Clock::time_point deadline, size_t maxBytes,
                                  std::string& output) {
  char buffer[16384];
  for (;;) {
    pollfd waiting{fd, POLLIN, 0};
    const int ready = poll(&waiting, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return BoundedOutput::End::TimedOut;
    // One byte more than allowed tells an output that is too long.
    const size_t room = maxBytes + 1 - output.size();
    const ssize_t got = read(fd, buffer, std::min(sizeof buffer, room));
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return BoundedOutput::End::Finished;
    output.append(buffer, static_cast<size_t>(got));
    if (output.size() > maxBytes) return BoundedOutput::End::TooLong;
  }
}

}  // namespace

BoundedOutput RunBounded(const std::string& program, const std::vector<std::string>& arguments,
                         Clock::time_point deadline, size_t maxBytes, ChildReaper& reaper) {
  BoundedOutput result;
  Pipe output;
  FileActions actions;
  const CleanSpawnAttributes attributes;
  if (!output.Open() || !actions.Set(output.Writing()) || !attributes.Ready()) {
    result.Error = errno != 0 ? errno : EAGAIN;
    return result;
  }
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), actions.Get(), attributes.Get(), argv.data(), environ);
  if (spawned != 0) {
    result.Error = spawned;
    return result;
  }
  output.CloseWriting();
  result.How = ReadUntilBound(output.Reading(), deadline, maxBytes, result.Output);
  // Ended already, or ended now; either way collected without waiting here.
  if (waitpid(pid, nullptr, WNOHANG) != pid) {
    kill(pid, SIGKILL);
    reaper.Adopt(pid);
  }
  return result;
}

}  // namespace pellox
