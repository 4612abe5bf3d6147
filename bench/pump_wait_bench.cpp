// The processor time a long wait costs: PumpWait on the real Qt message pump
// and the real monotonic counter, with nothing to do meanwhile. A waiting
// run should leave the processor idle.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include "bench_form.h"
#include "platform/linux/tick_clock.h"
#include "platform/qt/qt_message_pump.h"

namespace pellox::bench {
namespace {

class NoLauncher : public Launcher {
 public:
  void Open(void*, const std::string&, const std::string&) override {}
};

// User and system time of the whole process, threads included.
double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_PumpWaitCpu(benchmark::State& state) {
  const auto waitMs = static_cast<uint32_t>(state.range(0));
  MonotonicTickClock clock;
  QtMessagePump pump;
  NoLauncher launcher;
  testing::FakeFileSystem files;
  BenchForm form(clock, pump, launcher, files);

  double cpu = 0;
  double wall = 0;
  double lastWall = 0;
  for (auto _ : state) {
    const double cpuBefore = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    form.form.PumpWait(waitMs);
    const auto stop = std::chrono::steady_clock::now();
    const double iterationWall = std::chrono::duration<double>(stop - start).count();
    cpu += ProcessCpuSeconds() - cpuBefore;
    wall += iterationWall;
    lastWall = iterationWall;
    state.SetIterationTime(iterationWall);
  }
  state.counters["cpu_seconds"] = cpu;
  state.counters["wall_seconds"] = wall;
  state.counters["cpu_percent_of_core"] = wall > 0 ? 100.0 * cpu / wall : 0;
  // How long past its delay the last wait went on; a wait ends only once the
  // counter has passed the delay, so a few ms are the least to expect.
  state.counters["last_wait_late_ms"] = lastWall * 1000 - waitMs;
}

BENCHMARK(BM_PumpWaitCpu)->Arg(5000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellox::bench
