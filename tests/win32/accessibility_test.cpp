// The main window's controls as a screen reader meets them under Wine,
// through the objects that AccessibleObjectFromWindow gives: each control
// that takes the focus has its name, the fields and the printer list are
// named by their labels, and the status bar tells of every new panel text.
#include <gtest/gtest.h>

#include <string>

#include "accessibility_support.h"
#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;

class AccessibilityTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    Win32ProgramTest::SetUp();
    ShowNormally();
  }
  Element ClientOf(ControlId id) { return {ClientObjectOf(Control(id)), CHILDID_SELF}; }
};

TEST_F(AccessibilityTest, EveryControlThatTakesTheFocusHasItsName) {
  struct Case {
    ControlId id;
    const char* name;
  };
  const Case cases[] = {
      {ControlId::ComboBox1, "Printer"}, {ControlId::Edit1, "DelayTime"},
      {ControlId::Edit2, "ExeName"},     {ControlId::Button1, "Browse"},
      {ControlId::Edit3, "Parameter"},   {ControlId::StringGrid1, "Run list"},
      {ControlId::Button2, "Add"},       {ControlId::Button3, "Insert"},
      {ControlId::Button4, "Delete"},    {ControlId::Button5, "Edit"},
      {ControlId::Button6, "Pick"},      {ControlId::Button7, "Run"},
  };
  ASSERT_EQ(std::size(cases), layout::TabStops().size());
  for (const Case& c : cases) {
    const Element control = ClientOf(c.id);
    ASSERT_TRUE(control.Object) << c.name;
    EXPECT_EQ(c.name, NameOf(control));
  }
  // The labels themselves read as they show.
  EXPECT_EQ("DelayTime:", NameOf(ClientOf(ControlId::Label1)));
  EXPECT_EQ("[s]", NameOf(ClientOf(ControlId::Label4)));
}

TEST_F(AccessibilityTest, ANamedFieldIsStillTheSystemsFieldWithItsUnitAsDescription) {
  SetWindowTextA(Control(ControlId::Edit2), "C:\\tools\\a.exe");
  const Element exeName = ClientOf(ControlId::Edit2);
  EXPECT_EQ("C:\\tools\\a.exe", ValueOf(exeName));
  EXPECT_EQ(ROLE_SYSTEM_TEXT, RoleOf(exeName));
  SetFocus(Control(ControlId::Edit2));
  EXPECT_TRUE(StateOf(exeName) & STATE_SYSTEM_FOCUSED);
  EXPECT_EQ("[s]", DescriptionOf(ClientOf(ControlId::Edit1)));
  EXPECT_EQ("", DescriptionOf(ClientOf(ControlId::Edit3)));

  program_.Toolkit().AddItem("Laser");
  program_.Toolkit().SetItemIndex(1);
  EXPECT_EQ("Printer", NameOf(ClientOf(ControlId::ComboBox1))) << "not the chosen item";
}

// Without our answer to WM_GETOBJECT, the system names a field by the
// label created right before it: each label stands there.
TEST_F(AccessibilityTest, TheSystemsOwnObjectsFindEachFieldsLabel) {
  const struct {
    ControlId field;
    const char* label;
  } cases[] = {
      {ControlId::Edit1, "DelayTime:"},
      {ControlId::Edit2, "ExeName:"},
      {ControlId::Edit3, "Parameter:"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.label, NameOf({SystemClientObjectOf(Control(c.field)), CHILDID_SELF}));
  }
}

TEST_F(AccessibilityTest, EachNewPanelTextIsAnnounced) {
  HWND bar = Control(ControlId::StatusBar1);
  WinEventRecorder events(bar);
  program_.Toolkit().SetPanelText(0, "1");
  program_.Toolkit().SetPanelText(1, "C:\\tools\\a.exe");
  program_.Toolkit().SetPanelText(2, "-x");
  const std::vector<WinEvent> expected = {{EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, 1},
                                          {EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, 2},
                                          {EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, 3}};
  EXPECT_EQ(expected, events.Of(EVENT_OBJECT_NAMECHANGE));
  // Wine's object of a status bar reads its first panel; Windows' has the
  // three panels as children.
  EXPECT_EQ("1", NameOf(ClientOf(ControlId::StatusBar1)));
}

TEST_F(AccessibilityTest, TheErrorBoxShowsItsCaptionAndTextToAssistiveTechnology) {
  const SeenBox box = ReadMessageBox(
      Main(), [&] { program_.Toolkit().ShowErrorBox("Pellox", "整数のオーバーフロー."); });
  ASSERT_TRUE(box.Found);
  EXPECT_EQ("Pellox", box.AccessibleCaption);
  EXPECT_EQ("整数のオーバーフロー.", box.AccessibleText);
}

}  // namespace
}  // namespace pellox::testing
