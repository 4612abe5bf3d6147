// The printer choice of the real window against the printers Wine's spooler
// takes from the private CUPS scheduler: the list the user picks from, and
// the system's default printer after a run.
#include <gtest/gtest.h>

#include <algorithm>

#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;

class PrinterSwitchTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    cupsPrinters_ = PrivateCupsPrinters();
    if (!cupsPrinters_) GTEST_SKIP() << "not run beside a private CUPS scheduler";
    ASSERT_GE(cupsPrinters_->size(), 2u);
    Win32ProgramTest::SetUp();
    ShowNormally();
  }

  HWND Combo() { return Control(ControlId::ComboBox1); }

  // Picks item `index` as a user would and clicks Run (the list is empty).
  void RunWithChoice(size_t index) {
    SendMessageA(Combo(), CB_SETCURSEL, index, 0);
    SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Combo()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Combo()));
    SendMessageA(Control(ControlId::Button7), BM_CLICK, 0, 0);
    Pump();
  }

  std::optional<std::vector<std::string>> cupsPrinters_;
  SavedDeviceValue savedDevice_;
};

TEST_F(PrinterSwitchTest, TheChoiceListsTheSchedulersPrintersAfterABlankItem) {
  std::vector<std::string> items = ComboItems(Combo());
  ASSERT_FALSE(items.empty());
  EXPECT_EQ("", items.front());
  EXPECT_EQ(0, SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
  items.erase(items.begin());
  EXPECT_EQ(SystemPrinterNames(), items) << "in the system's order";
  std::sort(items.begin(), items.end());
  EXPECT_EQ(*cupsPrinters_, items);
}

TEST_F(PrinterSwitchTest, ARunWithAChosenPrinterMakesItTheDefault) {
  const std::vector<std::string> items = ComboItems(Combo());
  ASSERT_EQ(cupsPrinters_->size() + 1, items.size());
  for (size_t choice : {2u, 1u}) {
    RunWithChoice(choice);
    EXPECT_EQ(items[choice] + ",,", DeviceValue()) << "choice " << choice;
    EXPECT_EQ(items[choice], SystemDefaultPrinter()) << "choice " << choice;
  }
}

TEST_F(PrinterSwitchTest, ARunWithTheBlankChoiceLeavesTheDefaultAlone) {
  WriteProfileStringA("windows", "device", "Elsewhere,winspool,Ne00:");
  RunWithChoice(0);
  EXPECT_EQ("Elsewhere,winspool,Ne00:", DeviceValue());
}

}  // namespace
}  // namespace pellox::testing
