// How late each program starts after its delay: a run of entries with
// delays of 0 and 1 s on the real Qt message pump, the real counter and the
// real launcher starting /bin/true. Each launch call is timed against its
// deadline, the moment its wait began plus its delay.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench_form.h"
#include "platform/linux/posix_launcher.h"
#include "platform/linux/tick_clock.h"
#include "platform/qt/qt_message_pump.h"

namespace pellox::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The real counter, noting when the first reading after each launch (the
// start of the next entry's wait) was taken.
class WaitStartClock : public TickClock {
 public:
  uint32_t TickCount() override {
    if (armed_) {
      waitStarts.push_back(Clock::now());
      armed_ = false;
    }
    return real_.TickCount();
  }
  void Arm() { armed_ = true; }
  std::vector<Clock::time_point> waitStarts;

 private:
  MonotonicTickClock real_;
  bool armed_ = true;
};

// The real launcher, noting when each call came.
class TimedLauncher : public Launcher {
 public:
  explicit TimedLauncher(WaitStartClock& clock) : clock_(clock) {}
  void Open(void* owner, const std::string& file, const std::string& parameters) override {
    calls.push_back(Clock::now());
    real_.Open(owner, file, parameters);
    clock_.Arm();
  }
  std::vector<Clock::time_point> calls;

 private:
  WaitStartClock& clock_;
  PosixLauncher real_;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_LaunchLateness(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  std::vector<double> lateMs;
  std::vector<double> delayedLateMs;  // of the entries that really waited
  for (auto _ : state) {
    WaitStartClock clock;
    QtMessagePump pump;
    TimedLauncher launcher(clock);
    testing::FakeFileSystem files;
    BenchForm form(clock, pump, launcher, files);
    std::vector<int> delays;
    for (int i = 0; i < entries; ++i) {
      delays.push_back(i % 2);
      form.Add(std::to_string(delays.back()), "/bin/true", "");
    }
    clock.waitStarts.clear();
    clock.Arm();
    form.form.Dispatch(FormEvent::Button7Click);
    if (launcher.calls.size() != delays.size() || clock.waitStarts.size() < delays.size()) {
      state.SkipWithError("the run did not start every entry");
      return;
    }
    for (size_t i = 0; i < delays.size(); ++i) {
      const auto deadline = clock.waitStarts[i] + std::chrono::seconds(delays[i]);
      lateMs.push_back(
          std::chrono::duration<double, std::milli>(launcher.calls[i] - deadline).count());
      if (delays[i] > 0) delayedLateMs.push_back(lateMs.back());
    }
  }
  state.counters["launches"] = static_cast<double>(lateMs.size());
  state.counters["late_median_ms"] = Median(lateMs);
  state.counters["late_delayed_median_ms"] = Median(delayedLateMs);
  state.counters["late_max_ms"] = *std::max_element(lateMs.begin(), lateMs.end());
  state.counters["late_min_ms"] = *std::min_element(lateMs.begin(), lateMs.end());
}

BENCHMARK(BM_LaunchLateness)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellox::bench
