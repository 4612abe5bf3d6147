// Loading a 1,000,000-entry list file into the real Qt window: LoadList
// through the POSIX file layer, timed until the window has caught up
// (messages processed), with the CPU time it took and how far it raised the
// peak memory (measured in this process: Qt cannot run in a forked child).
#include <benchmark/benchmark.h>
#include <time.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "peak_memory.h"
#include "platform/qt/linux_program.h"
#include "temp_folder.h"

namespace pellox::bench {
namespace {

constexpr int kEntries = 1000000;

std::string ListFileText() {
  const std::string entry = "5\r\n/usr/local/bin/backup-tool\r\n--quiet --target=/srv/data\r\n";
  std::string text = "0\r\n" + std::to_string(kEntries) + "\r\n";
  text.reserve(text.size() + entry.size() * kEntries);
  for (int i = 0; i < kEntries; ++i) text += entry;
  return text;
}

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The program with its window on the screen, as after start-up.
std::unique_ptr<LinuxProgram> ShownProgram() {
  static char name[] = "pellox";
  static char* argv[] = {name, nullptr};
  auto program = std::make_unique<LinuxProgram>(1, argv);
  program->Form().Dispatch(FormEvent::FormShow);
  program->Window().show();
  program->Pump().ProcessPendingMessages();
  return program;
}

void LoadIntoWindow(LinuxProgram& program, const std::string& path) {
  if (!program.Form().LoadList(path) || program.Form().EntryCount != kEntries) {
    throw std::runtime_error("the list did not load");
  }
  program.Pump().ProcessPendingMessages();
}

void BM_LoadIntoWindow(benchmark::State& state) {
  testing::TempFolder dir;
  const std::string path = dir / "million.lst";
  const std::string text = ListFileText();
  testing::WriteFile(path, text);
  // First, while nothing else has raised the peak. Qt's application cannot
  // be used in a forked child, so this runs here.
  std::unique_ptr<LinuxProgram> measured;
  const int64_t growth = PeakRssGrowthHere([&] { measured = ShownProgram(); },
                                           [&] { LoadIntoWindow(*measured, path); });
  measured.reset();
  double cpuSeconds = 0;
  for (auto _ : state) {
    std::unique_ptr<LinuxProgram> program = ShownProgram();
    const double wallStart = Seconds(CLOCK_MONOTONIC);
    const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    LoadIntoWindow(*program, path);
    cpuSeconds += Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    state.SetIterationTime(Seconds(CLOCK_MONOTONIC) - wallStart);
    program.reset();  // not timed
  }
  state.counters["cpu_ms"] = cpuSeconds * 1000 / static_cast<double>(state.iterations());
  state.counters["peak_rss_growth_bytes"] = static_cast<double>(growth);
  state.counters["file_bytes"] = static_cast<double>(text.size());
  state.counters["memory_per_file_byte"] =
      static_cast<double>(growth) / static_cast<double>(text.size());
}

BENCHMARK(BM_LoadIntoWindow)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellox::bench
