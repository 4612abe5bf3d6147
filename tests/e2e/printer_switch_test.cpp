// The Run command's printer switch on the real Linux layer: the chosen CUPS
// printer becomes the default destination that `lpstat -d` reports.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "child_process.h"
#include "cups_fixture.h"
#include "faulty_scheduler.h"
#include "form_harness.h"
#include "platform/linux/cups_printer_system.h"

namespace pellox::testing {
namespace {

// CUPS takes queue names of up to 127 characters, commas included; the
// profile value holds 80 characters of a name and ends it at a comma.
const std::string kComma = "Comma,Name";
const std::string kLong = std::string(80, 'L') + std::string(20, 'o');
const std::string kShared = std::string(80, 'S');
const std::string kSharedA = kShared + std::string(20, 'A');
const std::string kSharedB = kShared + std::string(20, 'B');

class PrinterSwitchTest : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& queues) {
    if (CupsTestsDisabled()) GTEST_SKIP() << "PELLOX_NO_CUPS=1";
    std::string error;
    cups = SharedCupsScheduler(queues, error);
    ASSERT_NE(cups, nullptr) << error;
  }
  void SetUp() override { Start({"Alpha", "Beta"}); }

  std::string DefaultDestination() { return RunCommand({"lpstat", "-d"}).Output; }

  // Selects the printer choice that shows `name`.
  void Choose(const std::string& name) {
    const std::vector<std::string> items = ui.Items();
    auto at = std::find(items.begin(), items.end(), name);
    ASSERT_NE(at, items.end()) << name;
    ui.SetItemIndex(static_cast<int>(at - items.begin()));
  }

  PrivateCupsScheduler* cups = nullptr;
  CupsPrinterSystem printers{PELLOX_CUPS_HELPER};
  FormHarness harness{{.printers = &printers}};
  FakeToolkit& ui = harness.ui;
  TForm1& form = harness.form;
};

TEST_F(PrinterSwitchTest, RunMakesTheChosenPrinterTheDefault) {
  ASSERT_EQ(RunCommand({"lpoptions", "-d", "Alpha"}).ExitStatus, 0);
  form.Dispatch(FormEvent::FormShow);
  ASSERT_EQ(ui.Items(), (std::vector<std::string>{"", "Alpha", "Beta"}));
  ui.SetItemIndex(2);
  form.Dispatch(FormEvent::Button7Click);
  EXPECT_TRUE(ui.ErrorBoxes().empty());
  EXPECT_NE(DefaultDestination().find("Beta"), std::string::npos) << DefaultDestination();
}

TEST_F(PrinterSwitchTest, WithoutADefaultToIdentifyTheRunFailsAndChangesNothing) {
  form.Dispatch(FormEvent::FormShow);
  ui.SetItemIndex(2);
  form.Dispatch(FormEvent::Button7Click);
  ASSERT_EQ(ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(ui.ErrorBoxes()[0].Text, "デフォルト プリンタが存在しません.");
  EXPECT_EQ(DefaultDestination().find("Beta"), std::string::npos) << DefaultDestination();
}

// The scheduler stops answering after start-up, falls to sending one byte
// at a time, or sends an answer without end: each run reports that, in
// seconds, and leaves the default alone.
TEST_F(PrinterSwitchTest, ASchedulerThatNeverFinishesItsAnswerEndsTheRunWithItsErrorInSeconds) {
  ASSERT_EQ(RunCommand({"lpoptions", "-d", "Alpha"}).ExitStatus, 0);
  form.Dispatch(FormEvent::FormShow);
  ASSERT_EQ(ui.Items(), (std::vector<std::string>{"", "Alpha", "Beta"}));
  ui.SetItemIndex(2);
  const struct {
    const char* Label;
    FaultyScheduler::Fault Fault;
  } cases[] = {{"stalled", FaultyScheduler::Fault::Silent},
               {"trickling", FaultyScheduler::Fault::Trickle},
               {"flooding", FaultyScheduler::Fault::Flood}};
  size_t boxes = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    FaultyScheduler faulty(c.Fault);
    setenv("CUPS_SERVER", faulty.SocketPath().c_str(), 1);
    cupsSetServer(nullptr);
    const auto start = std::chrono::steady_clock::now();
    form.Dispatch(FormEvent::Button7Click);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start)
            .count();
    std::cout << "Run against a " << c.Label << " scheduler: " << seconds << " s\n";
    // Far below the minutes libcups waits by itself, and below the for ever
    // of an answer without end; generous for a loaded machine.
    EXPECT_LT(seconds, 30);
    ASSERT_EQ(ui.ErrorBoxes().size(), ++boxes);
    EXPECT_EQ(ui.ErrorBoxes().back().Text,
              "Win32 エラー。コード : 110.\n" + std::string(std::strerror(ETIMEDOUT)) + ".");
  }
  setenv("CUPS_SERVER", cups->SocketPath().c_str(), 1);
  cupsSetServer(nullptr);
  EXPECT_NE(DefaultDestination().find("Alpha"), std::string::npos) << DefaultDestination();
}

// The tests of this program share its one scheduler, each with the printers
// it needs. libcups keeps the client folder (CUPS_SERVERROOT, where root's
// default goes) that it first saw for the life of the process; sharing the
// scheduler keeps that folder the same for every test.
class OddPrinterNamesTest : public PrinterSwitchTest {
 protected:
  void SetUp() override { Start({"Alpha", kComma, kLong, kSharedA, kSharedB}); }
};

TEST_F(OddPrinterNamesTest, TheChosenPrinterBecomesTheDefaultOrTheRunFails) {
  const struct {
    const char* Label;
    std::string Chosen;
    bool Switches;  // else the run fails with "name not unique"
  } cases[] = {
      {"a name with a comma", kComma, true},
      {"a name of 100 characters", kLong, true},
      {"a name of 100 characters sharing its first 80", kSharedA, false},
      {"its namesake", kSharedB, false},
  };
  ASSERT_EQ(RunCommand({"lpoptions", "-d", "Alpha"}).ExitStatus, 0);
  form.Dispatch(FormEvent::FormShow);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    ASSERT_EQ(RunCommand({"lpoptions", "-d", "Alpha"}).ExitStatus, 0);
    const size_t boxes = ui.ErrorBoxes().size();
    Choose(c.Chosen);
    form.Dispatch(FormEvent::Button7Click);
    const std::string shown = DefaultDestination();
    if (c.Switches) {
      EXPECT_EQ(ui.ErrorBoxes().size(), boxes);
      EXPECT_EQ(shown, "system default destination: " + c.Chosen + "\n");
    } else {
      ASSERT_EQ(ui.ErrorBoxes().size(), boxes + 1);
      EXPECT_EQ(ui.ErrorBoxes().back().Text, "Win32 エラー。コード : " + std::to_string(ENOTUNIQ) +
                                                 ".\n" + std::strerror(ENOTUNIQ) + ".");
      EXPECT_EQ(shown, "system default destination: Alpha\n");
    }
  }
}

// The 80-character printer and the 100-character one that begins with its
// name write the same value: neither may switch the other.
class NamesakeTest : public PrinterSwitchTest {
 protected:
  void SetUp() override { Start({"Alpha", kShared, kSharedA}); }
};

TEST_F(NamesakeTest, NeitherPrinterSwitchesTheOther) {
  ASSERT_EQ(RunCommand({"lpoptions", "-d", "Alpha"}).ExitStatus, 0);
  form.Dispatch(FormEvent::FormShow);
  for (const std::string& chosen : {kSharedA, kShared}) {
    ASSERT_EQ(RunCommand({"lpoptions", "-d", "Alpha"}).ExitStatus, 0);
    const size_t boxes = ui.ErrorBoxes().size();
    Choose(chosen);
    form.Dispatch(FormEvent::Button7Click);
    ASSERT_EQ(ui.ErrorBoxes().size(), boxes + 1) << chosen;
    EXPECT_EQ(ui.ErrorBoxes().back().Text, "Win32 エラー。コード : " + std::to_string(ENOTUNIQ) +
                                               ".\n" + std::strerror(ENOTUNIQ) + ".")
        << chosen;
    EXPECT_EQ(DefaultDestination(), "system default destination: Alpha\n") << chosen;
  }
}

}  // namespace
}  // namespace pellox::testing
