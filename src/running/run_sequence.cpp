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

class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

void TForm1::Button7Click() {
  if (runDepth_ >= kMaxRunDepth) return;
  DepthGuard depth(runDepth_);

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
