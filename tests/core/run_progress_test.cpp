// What a run shows on the desktop's progress display (the taskbar button):
// entry k of N while entry k waits or has just started, the display cleared
// when the run ends however it ends, and nested runs showing the innermost.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>

#include "form_harness.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;

class RunProgressTest : public ::testing::Test {
 protected:
  void SetUp() override { h.Show(); }
  void Run() { h.form.Dispatch(FormEvent::Button7Click); }
  // What the display shows at virtual time `at`, noted while the run goes on.
  void NoteAt(uint64_t at) {
    h.pump.At(at, [this, at] { seen.push_back(std::to_string(at) + ":" + h.progress.shown); });
  }

  FormHarness h;
  Texts seen;
};

TEST_F(RunProgressTest, EachEntryShowsWhileItWaitsAndTheRunEndsCleared) {
  h.Add("1", "a");
  h.Add("2", "b");
  h.Add("0", "c");
  NoteAt(500);
  NoteAt(2000);
  Run();
  EXPECT_EQ(seen, (Texts{"500:1/3", "2000:2/3"}));
  EXPECT_EQ(h.progress.calls, (Texts{"1/3", "2/3", "3/3", "clear"}));
  EXPECT_EQ(h.progress.shown, "");
  EXPECT_TRUE(h.ui.ErrorBoxes().empty());
}

// An error that ends the run clears the display: the switch failing before
// any entry, and a launch that runs out of memory after the first entry.
TEST(RunProgressErrorTest, ARunEndedByAnErrorClearsTheDisplay) {
  struct Case {
    const char* label;
    bool switchFails;
    Texts calls;
  } cases[] = {
      {"the printer switch fails", true, {"clear"}},
      {"the second launch runs out of memory", false, {"1/3", "2/3", "clear"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FormHarness h;
    h.printers.installed = {{"Laser", {}}};
    h.Show();
    h.Add("0", "a");
    h.Add("0", "b");
    h.Add("0", "c");
    if (c.switchFails) {
      h.ui.SetItemIndex(1);  // no default printer to identify: the switch fails
    } else {
      h.launcher.afterLaunch = [&h] {
        if (h.launcher.launches.size() == 2) throw std::bad_alloc();
      };
    }
    h.form.Dispatch(FormEvent::Button7Click);
    EXPECT_EQ(h.ui.ErrorBoxes().size(), 1u);
    EXPECT_EQ(h.progress.calls, c.calls);
    EXPECT_EQ(h.progress.shown, "");
  }
}

TEST_F(RunProgressTest, AnEmptyListShowsNoEntry) {
  Run();
  EXPECT_EQ(h.progress.calls, (Texts{"clear"}));
}

// "Run" pressed during entry 2's wait runs the list, now one entry longer,
// nested: its own figures show, then the outer run's figure comes back
// until the outer run ends.
TEST_F(RunProgressTest, ANestedRunShowsItsOwnFiguresThenTheOuterRunsComeBack) {
  h.Add("1", "a");
  h.Add("1", "b");
  h.Add("1", "c");
  h.pump.At(1500, [&] {
    h.Add("0", "d");
    Run();
  });
  NoteAt(1600);  // inside the nested run's first wait
  NoteAt(5000);  // the nested run ended at 4504, and b started at once
  Run();
  EXPECT_EQ(h.progress.calls,
            (Texts{"1/3", "2/3", "1/4", "2/4", "3/4", "4/4", "2/3", "3/3", "clear"}));
  EXPECT_EQ(seen, (Texts{"1600:1/4", "5000:3/3"}));
  EXPECT_EQ(h.progress.shown, "");
}

// A nested run that ends by an error before its first entry gives the
// display back to the outer run, which goes on.
TEST(RunProgressNestingTest, ANestedRunEndedByAnErrorGivesTheOuterRunsFigureBack) {
  FormHarness h;
  h.printers.installed = {{"Laser", {}}};
  h.Show();
  h.Add("1", "a");
  h.Add("1", "b");
  h.pump.At(500, [&] {
    h.ui.SetItemIndex(1);  // the nested run's switch fails
    h.form.Dispatch(FormEvent::Button7Click);
  });
  h.form.Dispatch(FormEvent::Button7Click);
  EXPECT_EQ(h.progress.calls, (Texts{"1/2", "1/2", "2/2", "clear"}));
  EXPECT_EQ(h.launcher.launches.size(), 2u);
  EXPECT_EQ(h.ui.ErrorBoxes().size(), 1u);
}

// The figure counts the run's own N, also after the list shrank under it;
// "Run" beyond the nesting limit shows nothing.
TEST_F(RunProgressTest, TheRunsOwnCountStaysWhenTheListShrinks) {
  h.Add("1", "a");
  h.Add("1", "b");
  h.Add("1", "c");
  h.pump.At(500, [&] {
    h.SelectRow(1);
    h.form.Dispatch(FormEvent::Button4Click);  // Delete: two entries left
  });
  Run();
  EXPECT_EQ(h.progress.calls, (Texts{"1/3", "2/3", "clear"}));
}

TEST_F(RunProgressTest, RunsBeyondTheNestingLimitShowNothing) {
  h.Add("1", "a");
  int presses = 0;
  std::function<void()> press = [&] {
    if (++presses > 100) return;
    h.pump.Post(press);
    Run();
  };
  h.pump.Post(press);
  Run();
  // 64 runs, each showing its one entry and then handing the display back.
  EXPECT_EQ(std::count(h.progress.calls.begin(), h.progress.calls.end(), "clear"), 1);
  EXPECT_EQ(h.progress.calls.size(), 64u + 63u + 1u);
  EXPECT_EQ(h.progress.shown, "");
}

}  // namespace
}  // namespace pellox::testing
