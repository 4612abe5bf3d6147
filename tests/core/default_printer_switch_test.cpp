#include <gtest/gtest.h>

#include "form_harness.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;

class DefaultPrinterSwitchTest : public ::testing::Test {
 protected:
  void ShowWith(std::vector<PrinterRecord> printers) {
    h.printers.installed = std::move(printers);
    h.Show();
  }
  void RunWithChoice(int choice) {
    h.ui.SetItemIndex(choice);
    h.form.Dispatch(FormEvent::Button7Click);
  }

  FormHarness h;
};

TEST_F(DefaultPrinterSwitchTest, ChoiceZeroTouchesNothing) {
  ShowWith({{"Laser", {}}});
  const size_t enumCallsAtStart = h.printers.enumCalls.size();
  RunWithChoice(0);
  EXPECT_EQ(h.printers.enumCalls.size(), enumCallsAtStart);
  EXPECT_TRUE(h.printers.profileWrites.empty());
  EXPECT_TRUE(h.printers.broadcasts.empty());
  EXPECT_TRUE(h.ui.ErrorBoxes().empty());
}

TEST_F(DefaultPrinterSwitchTest, WritesNameAndTwoCommasForAPerPrinterEntry) {
  ShowWith({{"Ink", {}}, {"Laser", {}}});
  h.printers.defaultPrinter = "Ink";
  RunWithChoice(2);
  EXPECT_EQ(h.printers.profileWrites, (Texts{"windows/device=Laser,,"}));
  EXPECT_EQ(h.printers.broadcasts, (Texts{"windows"}));
}

TEST_F(DefaultPrinterSwitchTest, WritesThePortForAPerPortEntry) {
  h.printers.platformId = platform_id::kWin32Windows;
  ShowWith({{"Laser", "LPT1:, FILE:"}});
  EXPECT_EQ(h.ui.Items(), (Texts{"", "Laser. LPT1:", "Laser. FILE:"}));
  h.printers.defaultPrinter = "Laser";
  RunWithChoice(2);
  EXPECT_EQ(h.printers.profileWrites, (Texts{"windows/device=Laser,,FILE:"}));
}

TEST_F(DefaultPrinterSwitchTest, TheDefaultMayComeFromTheProfile) {
  ShowWith({{"Laser", {}}, {"Ink", {}}});
  h.printers.profile["windows/device"] = "  Ink,winspool,Ne00:";
  RunWithChoice(1);
  EXPECT_EQ(h.printers.profileWrites, (Texts{"windows/device=Laser,,"}));
}

TEST_F(DefaultPrinterSwitchTest, NoMatchingDefaultFailsAndTheNextRunTriesAgain) {
  ShowWith({{"Laser", {}}});
  h.Add("0", "a");
  h.printers.defaultPrinter = "Gone";
  RunWithChoice(1);
  ASSERT_EQ(h.ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Text, "デフォルト プリンタが存在しません.");
  EXPECT_TRUE(h.printers.profileWrites.empty());
  EXPECT_TRUE(h.launcher.launches.empty());

  h.printers.defaultPrinter = "Laser";
  RunWithChoice(1);
  EXPECT_EQ(h.printers.profileWrites, (Texts{"windows/device=Laser,,"}));
  EXPECT_EQ(h.launcher.launches.size(), 1u);

  // Once identified, later runs no longer depend on a default printer.
  h.printers.defaultPrinter.reset();
  RunWithChoice(1);
  EXPECT_EQ(h.printers.profileWrites.size(), 2u);
  EXPECT_EQ(h.ui.ErrorBoxes().size(), 1u);
}

TEST_F(DefaultPrinterSwitchTest, TheChosenDefaultIsWrittenAgainEveryRun) {
  ShowWith({{"Laser", {}}});
  h.printers.defaultPrinter = "Laser";
  RunWithChoice(1);
  RunWithChoice(1);
  EXPECT_EQ(h.printers.profileWrites.size(), 2u);
  EXPECT_EQ(h.printers.broadcasts.size(), 2u);
}

TEST_F(DefaultPrinterSwitchTest, LongNamesAreCutToEightyBytes) {
  const std::string name(100, 'N');
  const std::string port(90, 'P');
  h.printers.platformId = platform_id::kWin32Windows;
  ShowWith({{name, port}});
  h.printers.defaultPrinter = name;
  RunWithChoice(1);
  EXPECT_EQ(h.printers.profileWrites,
            (Texts{"windows/device=" + std::string(80, 'N') + ",," + std::string(80, 'P')}));
}

}  // namespace
}  // namespace pellox::testing
