// The Run command: switch the default printer, then start every entry after
// its delay, processing window messages while it waits so that the window
// stays usable and any command, "Run" included, can run inside the wait.
#include <algorithm>
#include <string>

#include "common/int_parse.h"
#include "window/form1.h"
#include "window/layout.h"

namespace pellox {

namespace {

constexpr int32_t kMaxDelaySeconds = 3600;
constexpr uint32_t kMsPerSecond = 1000;

int32_t DelayOf(const std::string& cell) {
  return std::clamp(ParseInt32(cell).value_or(0), 0, kMaxDelaySeconds);
}

}  // namespace

// One run from its start to its end, however it ends: it takes its place
// among the runs in progress and shows its entry in hand on the desktop's
// progress display; when it ends, by its last entry or by an error, the
// display goes back to the run it was nested in, or is cleared.
class TForm1::RunScope {
 public:
  explicit RunScope(TForm1& form) : form_(form) { form_.runs_.push_back({}); }
  ~RunScope() {
    form_.runs_.pop_back();
    if (form_.runs_.empty() || form_.runs_.back().Entry == 0) {
      form_.platform_.Progress.Clear();
    } else {
      form_.platform_.Progress.Show(form_.runs_.back().Entry, form_.runs_.back().Count);
    }
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

  void Show(int32_t entry, int32_t count) {
    form_.runs_.back() = {entry, count};
    form_.platform_.Progress.Show(entry, count);
  }

 private:
  TForm1& form_;
};

void TForm1::Button7Click() {
  if (runs_.size() >= static_cast<size_t>(kMaxRunDepth)) return;
  RunScope run(*this);

  SwitchDefaultPrinter();
  const int32_t n = EntryCount;
  // Rows past the current end of a list that shrank during a wait are
  // leftovers, never entries: the run stops there. The entry in hand was
  // read before its wait and is started whatever the wait brought.
  for (int32_t i = 1; i <= n && i <= EntryCount; ++i) {
    const uint32_t delay = static_cast<uint32_t>(DelayOf(CellText(layout::kDelay, i)));
    const std::string program = CellText(layout::kExeName, i);
    const std::string parameter = CellText(layout::kParameter, i);
    ui_.SetPanelText(layout::kEntryPanel, std::to_string(i));
    ui_.SetPanelText(layout::kProgramPanel, program);
    ui_.SetPanelText(layout::kParameterPanel, parameter);
    run.Show(i, n);
    PumpWait(delay * kMsPerSecond);
    platform_.Launch.Open(ui_.WindowHandle(), program, parameter);
  }
  for (int panel = layout::kEntryPanel; panel <= layout::kParameterPanel; ++panel) {
    ui_.SetPanelText(panel, "");
  }
}

void TForm1::PumpWait(uint32_t ms) {
  const uint32_t start = platform_.Clock.TickCount();
  for (;;) {
    application_.ProcessMessages();
    // The difference of two readings modulo 2^32 stays right across the
    // counter's wrap.
    const uint32_t elapsed = platform_.Clock.TickCount() - start;
    if (elapsed > ms) return;
    platform_.Pump.WaitForMessage(ms - elapsed + 1);
  }
}

}  // namespace pellox
