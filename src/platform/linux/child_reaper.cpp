#include "platform/linux/child_reaper.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>
#include <system_error>

namespace pellox {
namespace {

constexpr int kUnwatchedPollMs = 1000;

// A descriptor that becomes readable when the process ends (Linux 5.3 and
// later); -1 where the system has none or no descriptor is left.
int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

// True when `pid` has ended and was collected (or is no child any more).
bool Collect(pid_t pid) {
  for (;;) {
    pid_t result = waitpid(pid, nullptr, WNOHANG);
    if (result == pid) return true;
    if (result == 0) return false;
    if (errno != EINTR) return errno == ECHILD;
  }
}

}  // namespace

ChildReaper::ChildReaper() : wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ChildReaper::~ChildReaper() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  Wake();
  if (thread_.joinable()) thread_.join();
  for (const Child& child : children_) {
    if (child.PidFd >= 0) close(child.PidFd);
  }
  if (wakeFd_ >= 0) close(wakeFd_);
}

void ChildReaper::Adopt(pid_t pid) noexcept {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    int pidFd = watched_ < kMaxWatchedChildren ? OpenPidFd(pid) : -1;
    if (pidFd >= 0) ++watched_;
    try {
      children_.push_back({pid, pidFd});
    } catch (const std::bad_alloc&) {
      if (pidFd >= 0) close(pidFd);
      // Not remembered: it stays a zombie until this program ends, and it
      // still runs, which is all a launch promises.
    }
    if (!thread_.joinable()) ReapEnded();
  }
  StartThread();
  Wake();
}

void ChildReaper::StartThread() {
  if (thread_.joinable()) return;
  // The thread takes no signals: they stay with the threads that expect
  // them. It inherits the blocked set from here.
  sigset_t all;
  sigset_t old;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &old);
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // Over a process limit: the next Adopt collects and tries again.
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

void ChildReaper::Wake() {
  if (wakeFd_ < 0) return;
  const uint64_t one = 1;
  ssize_t written = write(wakeFd_, &one, sizeof one);
  (void)written;  // a full counter wakes the thread just as well
}

void ChildReaper::Run() {
  std::vector<pollfd> fds;
  for (;;) {
    bool unwatched = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      ReapEnded();
      fds.clear();
      if (wakeFd_ >= 0) fds.push_back({wakeFd_, POLLIN, 0});
      for (const Child& child : children_) {
        if (child.PidFd >= 0) {
          fds.push_back({child.PidFd, POLLIN, 0});
        } else {
          unwatched = true;
        }
      }
    }
    // Without a wake-up descriptor a new child is noticed on the next look.
    const bool look = unwatched || wakeFd_ < 0;
    if (poll(fds.data(), fds.size(), look ? kUnwatchedPollMs : -1) > 0 && wakeFd_ >= 0 &&
        fds[0].revents) {
      uint64_t count = 0;
      ssize_t got = read(wakeFd_, &count, sizeof count);
      (void)got;
    }
  }
}

void ChildReaper::ReapEnded() {
  size_t kept = 0;
  for (const Child& child : children_) {
    if (Collect(child.Pid)) {
      if (child.PidFd >= 0) {
        close(child.PidFd);
        --watched_;
      }
    } else {
      children_[kept++] = child;
    }
  }
  children_.resize(kept);
}

}  // namespace pellox
