// The Run command's printer switch on the real Linux layer: the chosen CUPS
// printer becomes the default destination that `lpstat -d` reports.
#include <gtest/gtest.h>

#include "app/application.h"
#include "child_process.h"
#include "cups_fixture.h"
#include "fake_platform.h"
#include "fake_toolkit.h"
#include "form_harness.h"
#include "platform/linux/cups_printer_system.h"
#include "window/form1.h"

namespace pellox::testing {
namespace {

class PrinterSwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CupsTestsDisabled()) GTEST_SKIP() << "PELLOX_NO_CUPS=1";
    std::string error;
    ASSERT_TRUE(cups.StartWithPrinters({"Alpha", "Beta"}, error)) << error;
  }
  void TearDown() override { cups.RestoreClientEnvironment(); }

  std::string DefaultDestination() { return RunCommand({"lpstat", "-d"}).Output; }

  PrivateCupsScheduler cups;
  CupsPrinterSystem printers;
  FakeToolkit ui;
  FakeClock clock;
  FakePump pump{clock};
  RecordingLauncher launcher{clock};
  FakeFileSystem files;
  FakeProcessInfo process;
  Platform platform{clock, pump, launcher, printers, files, process};
  TApplication application{platform};
  TForm1 form{application, ui, platform};
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

}  // namespace
}  // namespace pellox::testing
