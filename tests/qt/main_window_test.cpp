// The main window as built from the layout table: every control's kind,
// place, caption and focus order, the window's size and borders, the fonts,
// and closing, which asks the program to end instead of hiding the window.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSizeGrip>
#include <QTest>
#include <algorithm>

#include "case_label.h"
#include "line_break_cases.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/status_bar.h"
#include "window/layout.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlKind;

class QtMainWindowTest : public WindowFixture {
 protected:
  QWidget* Widget(const layout::Control& control) { return window->Control(control.Id); }
};

QString Caption(const layout::Control& control) { return QString::fromUtf8(control.Caption); }

TEST_F(QtMainWindowTest, EveryControlStandsAtItsLayoutGeometryInTheClientArea) {
  ShowWindow();
  for (const layout::Control& control : layout::kControls) {
    SCOPED_TRACE(control.Name);
    QWidget* widget = Widget(control);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), window->ClientArea());
    EXPECT_EQ(widget->objectName(), QString::fromUtf8(control.Name));
    EXPECT_EQ(widget->geometry(), QRect(control.Left, control.Top, control.Width, control.Height));
    EXPECT_TRUE(widget->isVisible());
  }
}

TEST_F(QtMainWindowTest, EveryControlIsOfItsKind) {
  for (const layout::Control& control : layout::kControls) {
    SCOPED_TRACE(control.Name);
    QWidget* widget = Widget(control);
    switch (control.Kind) {
      case ControlKind::Label:
        EXPECT_NE(qobject_cast<QLabel*>(widget), nullptr);
        break;
      case ControlKind::ComboBox:
        ASSERT_NE(qobject_cast<QComboBox*>(widget), nullptr);
        EXPECT_FALSE(qobject_cast<QComboBox*>(widget)->isEditable());
        break;
      case ControlKind::Edit:
        EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr);
        break;
      case ControlKind::Button:
        EXPECT_NE(qobject_cast<QPushButton*>(widget), nullptr);
        break;
      case ControlKind::StringGrid:
        EXPECT_NE(qobject_cast<GridView*>(widget), nullptr);
        break;
      case ControlKind::StatusBar:
        EXPECT_NE(dynamic_cast<StatusBar*>(widget), nullptr);
        break;
    }
  }
}

TEST_F(QtMainWindowTest, LabelsButtonsAndFieldsCarryTheLayoutCaptions) {
  for (const layout::Control& control : layout::kControls) {
    SCOPED_TRACE(control.Name);
    QWidget* widget = Widget(control);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->text(), Caption(control));
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      EXPECT_EQ(edit->text(), Caption(control));
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      EXPECT_EQ(button->text(), Caption(control));
      // Enter in a field clicks no button.
      EXPECT_FALSE(button->autoDefault());
      EXPECT_FALSE(button->isDefault());
    }
  }
}

std::vector<QString> LayoutTabOrder() {
  std::vector<const layout::Control*> stops;
  for (const layout::Control& control : layout::kControls) {
    if (control.TabOrder != layout::kNoTabStop) stops.push_back(&control);
  }
  std::sort(stops.begin(), stops.end(),
            [](const auto* a, const auto* b) { return a->TabOrder < b->TabOrder; });
  std::vector<QString> names;
  for (const auto* control : stops) names.push_back(QString::fromUtf8(control->Name));
  return names;
}

TEST_F(QtMainWindowTest, TheFocusChainFollowsTheLayoutTabOrder) {
  QWidget* first = window->ComboBox();
  std::vector<QString> chain;
  QWidget* widget = first;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) chain.push_back(widget->objectName());
    widget = widget->nextInFocusChain();
  } while (widget != first && chain.size() <= layout::kControls.size());
  EXPECT_EQ(chain, LayoutTabOrder());
}

TEST_F(QtMainWindowTest, TabMovesTheFocusInLayoutOrderAndBackToTheFirstStop) {
  ShowWindow();
  const std::vector<QString> order = LayoutTabOrder();
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), order.front());
  for (size_t i = 1; i <= order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), order[i % order.size()]) << i;
  }
}

TEST_F(QtMainWindowTest, LabelsAndTheStatusBarTakeNoFocus) {
  for (const layout::Control& control : layout::kControls) {
    if (control.TabOrder != layout::kNoTabStop) continue;
    SCOPED_TRACE(control.Name);
    EXPECT_EQ(Widget(control)->focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(QtMainWindowTest, TheClientAreaHasTheLayoutSizeDirectlyUnderTheMenuBar) {
  ShowWindow();
  const QWidget* client = window->ClientArea();
  EXPECT_EQ(client->size(), QSize(layout::kWindow.ClientWidth, layout::kWindow.ClientHeight));
  EXPECT_EQ(client->geometry().top(), window->menuBar()->geometry().bottom() + 1);
  EXPECT_EQ(client->geometry().left(), 0);
  EXPECT_EQ(window->size(), QSize(layout::kWindow.ClientWidth,
                                  layout::kWindow.ClientHeight + window->menuBar()->height()));
}

TEST_F(QtMainWindowTest, TheWindowHasAFixedSizeAndNoMaximizeButton) {
  ShowWindow();
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->minimumSize(), window->size());
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
}

TEST_F(QtMainWindowTest, TheWindowOpensAtItsLayoutPosition) {
  EXPECT_EQ(window->pos(), QPoint(layout::kWindow.Left, layout::kWindow.Top));
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8(layout::kWindow.Caption));
}

TEST_F(QtMainWindowTest, ControlsUseTheWindowFontAndTheStatusBarAndMenuTheSystemFont) {
  for (const layout::Control& control : layout::kControls) {
    SCOPED_TRACE(control.Name);
    const QFont font = Widget(control)->font();
    if (control.Kind == ControlKind::StatusBar) {
      EXPECT_EQ(font, QApplication::font());
      EXPECT_EQ(window->Status()->Panel(0)->font(), QApplication::font());
    } else {
      EXPECT_EQ(font.pixelSize(), -layout::kWindow.FontHeight);
    }
  }
  EXPECT_EQ(window->menuBar()->font(), QApplication::font());
}

TEST_F(QtMainWindowTest, ClosingPostsAQuitRequestAndKeepsTheWindow) {
  ShowWindow();
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(ProcessMessages());
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(ProcessMessages());  // the one request was taken out
}

TEST_F(QtMainWindowTest, AButtonClickReachesTheFormAsItsEvent) {
  RecordOnly();
  ShowWindow();
  for (const layout::Control& control : layout::kControls) {
    if (!control.Click) continue;
    SCOPED_TRACE(control.Name);
    events.clear();
    QTest::mouseClick(Widget(control), Qt::LeftButton);
    EXPECT_EQ(events, std::vector<FormEvent>{*control.Click});
  }
}

TEST_F(QtMainWindowTest, EnterInAFieldClicksNothing) {
  RecordOnly();
  ShowWindow();
  for (layout::ControlId id :
       {layout::ControlId::Edit1, layout::ControlId::Edit2, layout::ControlId::Edit3}) {
    QWidget* edit = window->Control(id);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
  }
  EXPECT_TRUE(events.empty());
}

// The fields take a text that a list file could not store in a cell as the
// core's cells do: its first line without Ctrl+Z, whether pasted (here
// between "[" and "]") or set.
class QtFieldLineBreakTest : public WindowFixture,
                             public ::testing::WithParamInterface<LineBreakCase> {};

TEST_P(QtFieldLineBreakTest, APasteOrASetTextKeepsItsFirstLineAndNoCtrlZ) {
  const QString text = QString::fromLatin1(GetParam().Text);
  const QString firstLine = QString::fromLatin1(GetParam().FirstLine);
  ShowWindow();
  for (layout::ControlId id :
       {layout::ControlId::Edit1, layout::ControlId::Edit2, layout::ControlId::Edit3}) {
    auto* field = static_cast<QLineEdit*>(window->Control(id));
    SCOPED_TRACE(field->objectName().toStdString());
    field->setText(QStringLiteral("[]"));
    field->setFocus();
    field->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "[" + firstLine + "]");
    EXPECT_EQ(field->cursorPosition(), firstLine.size() + 1);

    field->setText(text);
    EXPECT_EQ(field->text(), firstLine);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, QtFieldLineBreakTest, ::testing::ValuesIn(kLineBreakCases),
                         CaseLabel());

TEST_F(QtMainWindowTest, TheStatusBarHasThreeSunkenPanelsToTheRightEnd) {
  ShowWindow();
  const StatusBar* status = window->Status();
  const int right = layout::ControlById(layout::ControlId::StatusBar1).Width;
  const std::vector<std::pair<int, int>> spans = {
      {0, layout::kStatusPanelWidths[0]},
      {layout::kStatusPanelWidths[0],
       layout::kStatusPanelWidths[0] + layout::kStatusPanelWidths[1]},
      {layout::kStatusPanelWidths[0] + layout::kStatusPanelWidths[1], right}};
  for (int i = 0; i < StatusBar::kPanels; ++i) {
    SCOPED_TRACE(i);
    const QLabel* panel = status->Panel(i);
    const std::pair<int, int>& span = spans[static_cast<size_t>(i)];
    EXPECT_EQ(panel->geometry().left(), span.first);
    EXPECT_EQ(panel->geometry().right() + 1, span.second);
    EXPECT_EQ(panel->geometry().height(), status->height());
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(panel->alignment().testFlag(Qt::AlignLeft));
    EXPECT_TRUE(panel->text().isEmpty());
  }
  EXPECT_TRUE(window->findChildren<QSizeGrip*>().isEmpty());
}

}  // namespace
}  // namespace pellox::testing
