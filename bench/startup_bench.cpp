// From process start to the first launch: the real pellox binary runs a
// one-entry list unattended (delay 0) on the offscreen Qt platform; the
// entry is a marker script that writes the time it ran. The same marker
// started by a plain `sh -c` is the baseline, so what remains is pellox's
// own start-up: Qt, the window, the printer list and the list load.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"

extern char** environ;

namespace pellox::bench {
namespace {

constexpr int kSamples = 10;
constexpr int64_t kTimeoutNs = 20'000'000'000;

int64_t RealtimeNs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// The marker's time stamp (ns since the epoch, as `date +%s%N` writes it), or
// -1 while it has not run.
int64_t MarkerTime(const std::string& path) {
  std::ifstream in(path);
  int64_t stamp = -1;
  if (!(in >> stamp)) return -1;
  return stamp;
}

// Starts `argv` with `env` added to the environment, waits for the marker
// file and then for the process, and returns the marker's time minus the
// time just before the start, in ms; -1 on failure or timeout.
double TimeToMarker(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                    const std::string& marker) {
  unlink(marker.c_str());
  std::vector<std::string> envStrings(env);
  for (char** e = environ; *e != nullptr; ++e) envStrings.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> args(argv);
  std::vector<char*> argp;
  for (std::string& a : args) argp.push_back(a.data());
  argp.push_back(nullptr);

  const int64_t start = RealtimeNs();
  pid_t pid = 0;
  if (posix_spawn(&pid, argp[0], nullptr, nullptr, argp.data(), envp.data()) != 0) return -1;
  int64_t stamp = -1;
  while ((stamp = MarkerTime(marker)) < 0 && RealtimeNs() - start < kTimeoutNs) usleep(1000);
  int status = 0;
  // The unattended run ends by itself once its one entry is started.
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (RealtimeNs() - start > kTimeoutNs) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    usleep(1000);
  }
  return stamp < 0 ? -1 : static_cast<double>(stamp - start) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_StartToFirstLaunch(benchmark::State& state) {
  testing::TempFolder dir;
  const std::string script = dir / "marker.sh";
  const std::string marker = dir / "marker.txt";
  testing::WriteFile(script, "#!/bin/sh\ndate +%s%N > \"$1\"\n");
  chmod(script.c_str(), 0755);
  const std::string list = dir / "first.lst";
  testing::WriteFile(list, "0\r\n1\r\n0\r\n" + script + "\r\n" + marker + "\r\n");

  std::vector<double> pellox;
  std::vector<double> shell;
  for (auto _ : state) {
    for (int i = 0; i < kSamples; ++i) {
      const double viaPellox =
          TimeToMarker({PELLOX_BINARY, list}, {"QT_QPA_PLATFORM=offscreen"}, marker);
      const double viaShell =
          TimeToMarker({"/bin/sh", "-c", "'" + script + "' '" + marker + "'"}, {}, marker);
      if (viaPellox < 0 || viaShell < 0) {
        state.SkipWithError("the marker did not run");
        return;
      }
      pellox.push_back(viaPellox);
      shell.push_back(viaShell);
    }
  }
  const double pelloxMs = Median(pellox);
  const double shellMs = Median(shell);
  state.counters["pellox_median_ms"] = pelloxMs;
  state.counters["sh_median_ms"] = shellMs;
  state.counters["extra_ms"] = pelloxMs - shellMs;
  state.counters["ratio"] = shellMs > 0 ? pelloxMs / shellMs : 0;
}

BENCHMARK(BM_StartToFirstLaunch)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellox::bench

BENCHMARK_MAIN();
