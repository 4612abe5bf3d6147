// Loading and saving list files of 1,000 to 1,000,000 entries through the
// real POSIX file layer into the core's grid on the fake toolkit: the time
// of LoadList and SaveList, and how far each raises the peak memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_form.h"
#include "peak_memory.h"
#include "platform/linux/posix_file_system.h"
#include "temp_folder.h"

namespace pellox::bench {
namespace {

// A typical entry: a short delay, an absolute program path, two options.
const char kDelay[] = "5";
const char kProgram[] = "/usr/local/bin/backup-tool";
const char kParameter[] = "--quiet --target=/srv/data";

std::string ListFileText(int entries) {
  const std::string entry = std::string(kDelay) + "\r\n" + kProgram + "\r\n" + kParameter + "\r\n";
  std::string text = "0\r\n" + std::to_string(entries) + "\r\n";
  text.reserve(text.size() + entry.size() * static_cast<size_t>(entries));
  for (int i = 0; i < entries; ++i) text += entry;
  return text;
}

// One list file per size, written once for the whole run.
class ListFiles {
 public:
  const std::string& PathFor(int entries) {
    auto it = paths_.find(entries);
    if (it != paths_.end()) return it->second;
    const std::string path = dir_ / ("list" + std::to_string(entries) + ".lst");
    testing::WriteFile(path, ListFileText(entries));
    return paths_[entries] = path;
  }
  std::string SavePath() const { return dir_ / "saved.lst"; }

 private:
  testing::TempFolder dir_;
  std::map<int, std::string> paths_;
};

ListFiles& Files() {
  static ListFiles files;
  return files;
}

// Everything a form needs besides the files; nothing here runs in a load or
// a save.
struct Bench {
  testing::FakeClock clock;
  testing::FakePump pump{clock};
  testing::RecordingLauncher launcher{clock};
  PosixFileSystem files;
  BenchForm form{clock, pump, launcher, files};
};

void Load(Bench& bench, const std::string& path, int entries) {
  if (!bench.form.form.LoadList(path) || bench.form.form.EntryCount != entries) {
    throw std::runtime_error("the list did not load");
  }
}

void ReportMemory(benchmark::State& state, int64_t growth, size_t fileBytes) {
  state.counters["peak_rss_growth_bytes"] = static_cast<double>(growth);
  state.counters["file_bytes"] = static_cast<double>(fileBytes);
  state.counters["memory_per_file_byte"] =
      static_cast<double>(growth) / static_cast<double>(fileBytes);
}

void BM_LoadList(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const std::string path = Files().PathFor(entries);
  for (auto _ : state) {
    auto bench = std::make_unique<Bench>();
    const auto start = std::chrono::steady_clock::now();
    Load(*bench, path, entries);
    const auto stop = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    bench.reset();  // not timed: the next iteration starts from an empty grid
  }
  std::unique_ptr<Bench> bench;
  const int64_t growth = PeakRssGrowth([&] { bench = std::make_unique<Bench>(); },
                                       [&] { Load(*bench, path, entries); });
  ReportMemory(state, growth, ListFileText(entries).size());
}

void BM_SaveList(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const std::string path = Files().PathFor(entries);
  const std::string target = Files().SavePath();
  {
    Bench bench;
    Load(bench, path, entries);
    for (auto _ : state) {
      const auto start = std::chrono::steady_clock::now();
      bench.form.form.SaveList(target);
      const auto stop = std::chrono::steady_clock::now();
      state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
  }
  std::unique_ptr<Bench> bench;
  const int64_t growth = PeakRssGrowth(
      [&] {
        bench = std::make_unique<Bench>();
        Load(*bench, path, entries);
      },
      [&] { bench->form.form.SaveList(target); });
  ReportMemory(state, growth, ListFileText(entries).size());
}

BENCHMARK(BM_LoadList)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveList)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellox::bench

BENCHMARK_MAIN();
