// Collecting the exit status of started programs so that none stays a
// zombie, from one thread for all of them.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <thread>
#include <vector>

namespace pellox {

// Waits for the children handed to it, and only for those: the SIGCHLD
// disposition and children that others start (the toolkit's) are left
// alone. One thread serves every child, started with the first one; it
// sleeps until a child ends (a pidfd per child, for the first
// kMaxWatchedChildren) or, for children beyond those, looks once a second,
// so a long list of long-running programs costs neither threads nor file
// descriptors without bound.
class ChildReaper {
 public:
  static constexpr size_t kMaxWatchedChildren = 64;

  ChildReaper();
  // Stops the thread. Children still running are not waited for: they
  // become the system's when this process ends.
  ~ChildReaper();
  ChildReaper(const ChildReaper&) = delete;
  ChildReaper& operator=(const ChildReaper&) = delete;

  // Takes over `pid`, a child of this process that nothing else waits for.
  // Never fails: when no thread can be started (a process limit), the
  // children that have ended are collected here, at the next Adopt, and the
  // thread is tried again.
  void Adopt(pid_t pid) noexcept;

 private:
  struct Child {
    pid_t Pid;
    int PidFd;  // -1: not watched, looked at once a second
  };

  void StartThread();
  void Run();
  // Collects the children that have ended; `mutex_` held.
  void ReapEnded();
  void Wake();

  std::mutex mutex_;
  std::vector<Child> children_;
  size_t watched_ = 0;
  bool stopping_ = false;
  int wakeFd_ = -1;
  std::thread thread_;
};

}  // namespace pellox
