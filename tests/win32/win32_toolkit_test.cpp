// The toolkit operations on the real controls of the main window.
#include "platform/win32/win32_toolkit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;
using win32::Win32Toolkit;

class Win32ToolkitTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    Win32ProgramTest::SetUp();
    ShowNormally();
  }
  Win32Toolkit& Ui() { return program_.Toolkit(); }
};

TEST_F(Win32ToolkitTest, FieldsReadAndWriteTheirWholeText) {
  const std::string long8bit = std::string(300, 'x') + "\x82\xa0\xff";
  Ui().SetText(EditField::Edit2, long8bit);
  EXPECT_EQ(long8bit, Ui().Text(EditField::Edit2));
  Ui().SetText(EditField::Edit3, "");
  EXPECT_EQ("", WindowText(Control(ControlId::Edit3)));
  SetWindowTextA(Control(ControlId::Edit1), "12");
  EXPECT_EQ("12", Ui().Text(EditField::Edit1));
}

TEST_F(Win32ToolkitTest, ThePrinterChoiceAfterStartUp) {
  EXPECT_GE(Ui().ItemCount(), 1);
  EXPECT_EQ(0, Ui().ItemIndex());
  EXPECT_EQ("", ComboItems(Control(ControlId::ComboBox1)).at(0));
}

TEST_F(Win32ToolkitTest, ItemsStayInTheOrderAdded) {
  Ui().ClearItems();
  EXPECT_EQ(-1, Ui().ItemIndex());
  for (const char* name : {"", "Zeta", "Alpha"}) Ui().AddItem(name);
  EXPECT_EQ(3, Ui().ItemCount());
  Ui().SetItemIndex(1);
  EXPECT_EQ(1, Ui().ItemIndex());
  EXPECT_EQ("Zeta", WindowText(Control(ControlId::ComboBox1)));
}

TEST_F(Win32ToolkitTest, PanelsShowTheirTexts) {
  HWND bar = Control(ControlId::StatusBar1);
  Ui().SetPanelText(0, "3");
  Ui().SetPanelText(1, "C:\\a.exe");
  Ui().SetPanelText(2, "-p");
  char text[64];
  for (WPARAM panel = 0; panel < 3; ++panel) {
    SendMessageA(bar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(panel == 0 ? "3" : panel == 1 ? "C:\\a.exe" : "-p", text);
  }
  Ui().SetPanelText(1, "");
  SendMessageA(bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("", text);
}

TEST_F(Win32ToolkitTest, CaptionAndHandle) {
  Ui().SetCaption("Pellox | C:\\lists\\a.lst");
  EXPECT_EQ("Pellox | C:\\lists\\a.lst", WindowText(Main()));
  EXPECT_EQ(Main(), Ui().WindowHandle());
}

TEST_F(Win32ToolkitTest, TheErrorBoxIsModalToTheWindowAndShowsTheJapaneseText) {
  const SeenBox box =
      ReadMessageBox(Main(), [&] { Ui().ShowErrorBox("Pellox", "ファイルが見つかりません."); });
  EXPECT_TRUE(box.Found);
  EXPECT_TRUE(box.OwnerDisabled);
  EXPECT_TRUE(box.Caption == L"Pellox");
  EXPECT_TRUE(box.Text ==
              L"\u30d5\u30a1\u30a4\u30eb\u304c\u898b\u3064\u304b\u308a\u307e\u305b\u3093.");
  EXPECT_TRUE(IsWindowEnabled(Main()));
}

}  // namespace
}  // namespace pellox::testing
