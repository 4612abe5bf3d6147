#include <gtest/gtest.h>

#include "form_harness.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;

class RunSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override { h.Show(); }
  void Run() { h.form.Dispatch(FormEvent::Button7Click); }

  std::vector<uint64_t> LaunchTimes() const {
    std::vector<uint64_t> times;
    for (const auto& launch : h.launcher.launches) times.push_back(launch.At);
    return times;
  }
  Texts LaunchedFiles() const {
    Texts files;
    for (const auto& launch : h.launcher.launches) files.push_back(launch.File);
    return files;
  }

  FormHarness h;
};

TEST_F(RunSequenceTest, DelaysAddUpAndEachWaitEndsStrictlyPastItsDeadline) {
  h.Add("5", "a");
  h.Add("0", "b");
  h.Add("10", "c");
  Run();
  EXPECT_EQ(LaunchTimes(), (std::vector<uint64_t>{5001, 5002, 15003}));
  EXPECT_EQ(LaunchedFiles(), (Texts{"a", "b", "c"}));
  EXPECT_EQ(h.launcher.launches[0].Owner, h.ui.WindowHandle());
}

TEST_F(RunSequenceTest, TheWaitBlocksInsteadOfPolling) {
  h.Add("3600", "a");
  Run();
  EXPECT_EQ(LaunchTimes(), (std::vector<uint64_t>{3600001}));
  EXPECT_LE(h.pump.ProcessCalls(), 3);
  EXPECT_LE(h.pump.WaitCalls(), 2);
}

struct DelayCase {
  const char* cell;
  uint64_t launchedAt;
};

class RunDelayTest : public ::testing::TestWithParam<DelayCase> {};

TEST_P(RunDelayTest, TheDelayCellIsParsedAndBounded) {
  FormHarness h;
  h.Show();
  h.Add("0", "a");
  h.Grid().SetCell(1, 1, GetParam().cell);
  h.form.Dispatch(FormEvent::Button7Click);
  ASSERT_EQ(h.launcher.launches.size(), 1u);
  EXPECT_EQ(h.launcher.launches[0].At, GetParam().launchedAt) << GetParam().cell;
}

INSTANTIATE_TEST_SUITE_P(Cells, RunDelayTest,
                         ::testing::Values(DelayCase{"abc", 1}, DelayCase{"-5", 1},
                                           DelayCase{"", 1}, DelayCase{"3600", 3600001},
                                           DelayCase{"3601", 3600001}, DelayCase{" 12", 12001},
                                           DelayCase{"12 ", 1}, DelayCase{"+12", 12001},
                                           DelayCase{"$1E", 30001}, DelayCase{"0x1E", 30001},
                                           DelayCase{"x1E", 30001}, DelayCase{"2147483648", 1},
                                           DelayCase{"-2147483648", 1}));

TEST_F(RunSequenceTest, TheStatusBarShowsEachEntryBeforeItsLaunchAndIsClearedAtTheEnd) {
  h.Add("1", "a", "-x");
  h.Add("1", "", "two words");
  h.pump.At(500, [&] {
    EXPECT_EQ(h.ui.Panel(0), "1");
    EXPECT_TRUE(h.launcher.launches.empty());
  });
  Run();
  EXPECT_EQ(h.ui.PanelLog(),
            (Texts{"0=1", "1=a", "2=-x", "0=2", "1=", "2=two words", "0=", "1=", "2="}));
  ASSERT_EQ(h.launcher.launches.size(), 2u);
  EXPECT_EQ(h.launcher.launches[1].File, "");  // an empty program is launched anyway
  EXPECT_EQ(h.launcher.launches[1].Parameters, "two words");
}

// The printer list is built at the first start-up, so these tests install
// their printers in a harness of their own.
TEST(RunSwitchTest, AnEmptyListStillSwitchesAndClearsThePanels) {
  FormHarness h;
  h.printers.installed = {{"Laser", {}}};
  h.printers.defaultPrinter = "Laser";
  h.Show();
  h.ui.SetItemIndex(1);
  h.ui.SetPanelText(0, "old");
  h.form.Dispatch(FormEvent::Button7Click);
  EXPECT_EQ(h.printers.profileWrites, (Texts{"windows/device=Laser,,"}));
  EXPECT_TRUE(h.launcher.launches.empty());
  EXPECT_EQ(h.ui.Panel(0), "");
}

TEST_F(RunSequenceTest, EditsOfLaterEntriesDuringAWaitAreUsedButNotOfTheEntryInHand) {
  h.Add("2", "a");
  h.Add("2", "b");
  h.pump.At(1000, [&] {
    h.SelectRow(1);
    h.Type("0", "a-edited", "");
    h.form.Dispatch(FormEvent::Button5Click);
    h.SelectRow(2);
    h.Type("0", "b-edited", "p");
    h.form.Dispatch(FormEvent::Button5Click);
  });
  Run();
  EXPECT_EQ(LaunchedFiles(), (Texts{"a", "b-edited"}));
  EXPECT_EQ(LaunchTimes(), (std::vector<uint64_t>{2001, 2002}));
}

TEST_F(RunSequenceTest, RunPressedDuringAWaitRunsTheWholeListNested) {
  h.Add("1", "a");
  h.Add("2", "b");
  h.Add("3", "c");
  h.pump.At(1500, [&] { h.form.Dispatch(FormEvent::Button7Click); });
  Run();
  EXPECT_EQ(LaunchedFiles(), (Texts{"a", "a", "b", "c", "b", "c"}));
  // The nested run started at 1500: a at 2501, b at 4502, c at 7503; the
  // outer run's wait for b had passed by then.
  EXPECT_EQ(LaunchTimes(), (std::vector<uint64_t>{1001, 2501, 4502, 7503, 7503, 10504}));
  EXPECT_EQ(h.ui.Panel(1), "");
}

TEST_F(RunSequenceTest, RunsNestAtMostSixtyFourDeep) {
  h.Add("1", "a");
  int presses = 0;
  std::function<void()> press = [&] {
    if (++presses > 100) return;
    h.pump.Post(press);
    h.form.Dispatch(FormEvent::Button7Click);
  };
  h.pump.Post(press);
  Run();
  EXPECT_EQ(h.launcher.launches.size(), 64u);
}

TEST_F(RunSequenceTest, ClosingDuringARunLetsTheRunFinish) {
  h.Add("1", "a");
  h.Add("1", "b");
  h.Add("1", "c");
  h.pump.At(1500, [&] { h.form.Dispatch(FormEvent::MnuExitClick); });
  Run();
  EXPECT_EQ(LaunchedFiles(), (Texts{"a", "b", "c"}));
  EXPECT_TRUE(h.application.Terminated());
}

// What happens to the list during an entry's wait: the entry in hand (read
// before its wait) still starts; later rows are read when the run reaches
// them, and rows past the list's new end are never started.
struct ChangeDuringWait {
  const char* name;
  uint64_t at;  // inside the wait of entry 1 (0..1000), 2 (..2001) or 3
  std::function<void(FormHarness&)> change;
  Texts launched;
  friend void PrintTo(const ChangeDuringWait& c, std::ostream* os) { *os << c.name; }
};

class RunListChangeTest : public ::testing::TestWithParam<ChangeDuringWait> {};

TEST_P(RunListChangeTest, TheEntryInHandStartsAndLeftoverRowsDoNot) {
  const ChangeDuringWait& c = GetParam();
  FormHarness h;
  h.Show();
  h.files.files["/l/one.lst"] = "0\r\n1\r\n0\r\nx\r\n\r\n";
  h.files.files["/l/five.lst"] =
      "0\r\n5\r\n0\r\nv\r\n\r\n0\r\nw\r\n\r\n0\r\nx\r\n\r\n0\r\ny\r\n\r\n0\r\nz\r\n\r\n";
  h.Add("1", "a");
  h.Add("1", "b");
  h.Add("1", "c");
  h.pump.At(c.at, [&] { c.change(h); });
  h.form.Dispatch(FormEvent::Button7Click);
  Texts files;
  for (const auto& launch : h.launcher.launches) files.push_back(launch.File);
  EXPECT_EQ(files, c.launched);
  EXPECT_EQ(h.ui.Panel(0), "");
}

void Press(FormHarness& h, FormEvent event, int row = 1) {
  h.SelectRow(row);
  h.form.Dispatch(event);
}
void OpenList(FormHarness& h, const char* path) {
  h.ui.AnswerDialog(DialogId::OpenDialog1, {path, 1});
  h.form.Dispatch(FormEvent::MnuOpenClick);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, RunListChangeTest,
    ::testing::Values(ChangeDuringWait{"DeleteLastRowInFirstWait",
                                       500,
                                       [](FormHarness& h) { Press(h, FormEvent::Button4Click, 3); },
                                       {"a", "b"}},
                      ChangeDuringWait{"DeleteFirstRowInLastWait",
                                       2500,
                                       [](FormHarness& h) { Press(h, FormEvent::Button4Click, 1); },
                                       {"a", "b", "c"}},
                      ChangeDuringWait{"DeleteFirstRowInSecondWait",
                                       1500,
                                       [](FormHarness& h) { Press(h, FormEvent::Button4Click, 1); },
                                       {"a", "b"}},
                      ChangeDuringWait{"NewInFirstWait",
                                       500,
                                       [](FormHarness& h) { Press(h, FormEvent::MnuNewClick); },
                                       {"a"}},
                      ChangeDuringWait{"NewInLastWait",
                                       2500,
                                       [](FormHarness& h) { Press(h, FormEvent::MnuNewClick); },
                                       {"a", "b", "c"}},
                      ChangeDuringWait{"OpenShorterInSecondWait",
                                       1500,
                                       [](FormHarness& h) { OpenList(h, "/l/one.lst"); },
                                       {"a", "b"}},
                      ChangeDuringWait{"OpenLongerInFirstWait",
                                       500,
                                       [](FormHarness& h) { OpenList(h, "/l/five.lst"); },
                                       {"a", "w", "x"}}),
    [](const ::testing::TestParamInfo<ChangeDuringWait>& test) { return test.param.name; });

TEST_F(RunSequenceTest, TheCounterWrappingInsideAWaitEndsItOnTime) {
  h.clock.origin = 0xFFFFFFFFull - 2000;  // the counter wraps 2 s into the wait
  h.Add("5", "a");
  h.Add("0", "b");
  Run();
  EXPECT_EQ(LaunchTimes(), (std::vector<uint64_t>{5001, 5002}));
  EXPECT_TRUE(h.ui.ErrorBoxes().empty());
}

TEST(RunSwitchTest, APrinterErrorStartsNothingAndLeavesTheStatusBar) {
  FormHarness h;
  h.printers.installed = {{"Laser", {}}};
  h.Show();
  h.Add("0", "a");
  h.ui.SetItemIndex(1);
  h.ui.SetPanelText(1, "before");
  h.form.Dispatch(FormEvent::Button7Click);
  EXPECT_TRUE(h.launcher.launches.empty());
  EXPECT_EQ(h.ui.Panel(1), "before");
  ASSERT_EQ(h.ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Text, "デフォルト プリンタが存在しません.");
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Caption, "Pellox");
}

TEST_F(RunSequenceTest, ParametersPassUnchanged) {
  const std::string parameter = " \"quoted arg\" ; | $(rm -rf x) `id` ";
  h.Add("0", "prog", parameter);
  Run();
  ASSERT_EQ(h.launcher.launches.size(), 1u);
  EXPECT_EQ(h.launcher.launches[0].Parameters, parameter);
}

}  // namespace
}  // namespace pellox::testing
