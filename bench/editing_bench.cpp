// "Add", "Insert" and "Delete" at the top of a million-entry list on the real
// Qt window, each timed until the window has caught up (messages processed).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "platform/qt/linux_program.h"

namespace pellox::bench {
namespace {

// Just below the limit, so that every "Add" and "Insert" still adds.
constexpr int kEntries = kMaxEntries - 3;

void FillList(LinuxProgram& program) {
  GridModel& grid = program.Form().StringGrid1;
  {
    GridModel::BulkChange change(grid);
    grid.SetRowCount(kEntries + 1);
    for (int row = 1; row <= kEntries; ++row) {
      grid.SetCell(0, row, std::to_string(row));
      grid.SetCell(1, row, "5");
      grid.SetCell(2, row, "/usr/local/bin/backup-tool");
      grid.SetCell(3, row, "--quiet --target=/srv/data");
    }
  }
  program.Form().EntryCount = kEntries;
  program.Pump().ProcessPendingMessages();
}

void BM_EditAtTheTop(benchmark::State& state, FormEvent command) {
  char name[] = "pellox";
  char* argv[] = {name, nullptr};
  LinuxProgram program(1, argv);
  program.Form().Dispatch(FormEvent::FormShow);
  program.Window().show();
  FillList(program);
  program.Toolkit().SetText(EditField::Edit1, "1");
  program.Toolkit().SetText(EditField::Edit2, "/bin/true");
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    program.Form().Dispatch(command);
    program.Pump().ProcessPendingMessages();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["entries"] = program.Form().EntryCount;
}

BENCHMARK_CAPTURE(BM_EditAtTheTop, Add, FormEvent::Button2Click)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EditAtTheTop, Insert, FormEvent::Button3Click)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EditAtTheTop, Delete, FormEvent::Button4Click)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellox::bench
