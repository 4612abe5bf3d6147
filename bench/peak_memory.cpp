#include "peak_memory.h"

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace pellox::bench {

namespace {

// A "Vm...:  1234 kB" line of /proc/self/status in bytes, or -1.
int64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1)) * 1024;
  }
  return -1;
}

// Resets VmHWM to the current resident set; older kernels lack it, and then
// the peak since the fork (a fresh count in the child) is used.
void ResetPeak() {
  std::ofstream clearRefs("/proc/self/clear_refs");
  clearRefs << "5";
}

// Runs `prepare`, then `work`, and returns how far the peak resident set
// rose above the resident set at the start of `work`.
int64_t MeasureGrowth(const std::function<void()>& prepare, const std::function<void()>& work) {
  prepare();
  // Give back what `prepare` freed, so that reuse of it does not hide the
  // work's own growth.
  malloc_trim(0);
  ResetPeak();
  const int64_t before = StatusBytes("VmRSS");
  work();
  return StatusBytes("VmHWM") - before;
}

}  // namespace

int64_t PeakRssGrowthHere(const std::function<void()>& prepare, const std::function<void()>& work) {
  try {
    return MeasureGrowth(prepare, work);
  } catch (...) {
    return -1;
  }
}

int64_t PeakRssGrowth(const std::function<void()>& prepare, const std::function<void()>& work) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    close(pipeFds[0]);
    int64_t growth = -1;
    try {
      growth = MeasureGrowth(prepare, work);
    } catch (...) {
      growth = -1;
    }
    ssize_t ignored = write(pipeFds[1], &growth, sizeof growth);
    (void)ignored;
    _exit(0);
  }
  close(pipeFds[1]);
  int64_t growth = -1;
  if (read(pipeFds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return growth;
}

}  // namespace pellox::bench
