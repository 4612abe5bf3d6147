// What the Qt window tells assistive technology, read through Qt's own
// accessibility interfaces (offscreen, which sends no events:
// tests/e2e/accessibility_test.py reads the real program over AT-SPI, the
// events included): the fields tied to their labels, the grid a table of
// its own name, the status bar one.
#include <QAccessible>
#include <QLabel>

#include "platform/qt/status_bar.h"
#include "window/layout.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;

class QtAccessibilityTest : public WindowFixture {
 protected:
  QAccessibleInterface* Accessible(ControlId id) {
    return QAccessible::queryAccessibleInterface(window->Control(id));
  }
};

TEST_F(QtAccessibilityTest, FieldsAndThePrinterListAreNamedAndLabelledByTheirLabels) {
  const struct {
    ControlId control;
    ControlId label;
    const char* name;
  } cases[] = {
      {ControlId::ComboBox1, ControlId::Label5, "Printer"},
      {ControlId::Edit1, ControlId::Label1, "DelayTime"},
      {ControlId::Edit2, ControlId::Label2, "ExeName"},
      {ControlId::Edit3, ControlId::Label3, "Parameter"},
  };
  for (const auto& c : cases) {
    QAccessibleInterface* control = Accessible(c.control);
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_EQ(control->text(QAccessible::Name).toStdString(), c.name);
    const auto labels = control->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1) << c.name;
    EXPECT_EQ(labels.front().first->object(), window->Control(c.label)) << c.name;
  }
  EXPECT_EQ(Accessible(ControlId::Edit1)->text(QAccessible::Description).toStdString(), "[s]");
  EXPECT_EQ(Accessible(ControlId::StringGrid1)->text(QAccessible::Name).toStdString(), "Run list");
  EXPECT_EQ(Accessible(ControlId::StringGrid1)->role(), QAccessible::Table);
}

TEST_F(QtAccessibilityTest, TheStatusBarIsOneWithItsPanelsNamedByTheirTexts) {
  EXPECT_EQ(Accessible(ControlId::StatusBar1)->role(), QAccessible::StatusBar);
  toolkit->SetPanelText(layout::kProgramPanel, "/bin/true");
  QAccessibleInterface* panel =
      QAccessible::queryAccessibleInterface(window->Status()->Panel(layout::kProgramPanel));
  EXPECT_EQ(panel->parent()->object(), window->Status());
  EXPECT_EQ(panel->text(QAccessible::Name).toStdString(), "/bin/true");
}

}  // namespace
}  // namespace pellox::testing
