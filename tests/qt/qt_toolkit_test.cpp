// The toolkit operations other than the grid's, on the real widgets: fields,
// the printer drop-down list, status panels, caption, window handle and the
// error box.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleOptionComboBox>
#include <QTimer>

#include <functional>
#include <new>

#include "common/errors.h"
#include "platform/qt/byte_text.h"
#include "platform/qt/error_box.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/status_bar.h"
#include "window/layout.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;

class QtToolkitTest : public WindowFixture {};

// Calls `show`, which opens a modal message box, runs `check` on that box
// and closes it; false when no box came.
bool CheckModalBox(const std::function<void()>& show,
                   const std::function<void(QMessageBox&)>& check) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen = true;
    check(*box);
    box->accept();
  });
  show();
  return seen;
}

struct FieldCase {
  EditField Field;
  ControlId Id;
};

TEST_F(QtToolkitTest, FieldTextsGoInAndOutUnchanged) {
  const std::string japanese = "\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF";  // UTF-8
  const std::string long_text(40000, 'p');  // beyond QLineEdit's usual limit
  for (FieldCase field : {FieldCase{EditField::Edit1, ControlId::Edit1},
                          FieldCase{EditField::Edit2, ControlId::Edit2},
                          FieldCase{EditField::Edit3, ControlId::Edit3}}) {
    for (const std::string& text : {japanese, long_text, std::string("a \"b\" c"), std::string()}) {
      toolkit->SetText(field.Field, text);
      EXPECT_EQ(toolkit->Text(field.Field), text);
      EXPECT_EQ(window->Edit(field.Id)->text(), QString::fromStdString(text));
    }
  }
}

TEST_F(QtToolkitTest, TextsThatAreNotUtf8ReachEveryWidgetAndComeBackUnchanged) {
  for (const std::string bytes :
       {"\x83\x76\x83\x8A\x83\x93\x83\x5E", "caf\xE9 \xFF", "\xE3\x83\x97"}) {
    for (EditField field : {EditField::Edit1, EditField::Edit2, EditField::Edit3}) {
      toolkit->SetText(field, bytes);
      EXPECT_EQ(toolkit->Text(field), bytes);
    }
    toolkit->AddItem(bytes);
    QComboBox* combo = window->ComboBox();
    EXPECT_EQ(ToBytes(combo->itemText(combo->count() - 1)), bytes);
    toolkit->SetPanelText(1, bytes);
    EXPECT_EQ(ToBytes(window->Status()->Panel(1)->text()), bytes);
    toolkit->SetCaption("Pellox | /tmp/" + bytes);
    EXPECT_EQ(ToBytes(window->windowTitle()), "Pellox | /tmp/" + bytes);
    Grid().SetCell(2, 0, bytes);
    Grid().SetCell(2, 1, bytes);
    ProcessMessages();
    const QAbstractItemModel* shown = window->Grid()->model();
    EXPECT_EQ(ToBytes(shown->headerData(2, Qt::Horizontal).toString()), bytes);
    EXPECT_EQ(ToBytes(shown->index(0, 2).data().toString()), bytes);
  }
}

TEST_F(QtToolkitTest, TheDropDownListKeepsItemsInTheirOrder) {
  toolkit->ClearItems();
  EXPECT_EQ(toolkit->ItemCount(), 0);
  EXPECT_EQ(toolkit->ItemIndex(), -1);
  for (const char* item : {"", "Zeta", "Alpha", "Mid"}) toolkit->AddItem(item);
  EXPECT_EQ(toolkit->ItemCount(), 4);
  const QStringList expected = {"", "Zeta", "Alpha", "Mid"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(window->ComboBox()->itemText(i), expected[i]);
  toolkit->SetItemIndex(2);
  EXPECT_EQ(toolkit->ItemIndex(), 2);
  EXPECT_EQ(window->ComboBox()->currentText(), "Alpha");
  toolkit->ClearItems();
  EXPECT_EQ(toolkit->ItemIndex(), -1);
}

TEST_F(QtToolkitTest, TheDropDownListShowsAtMostEightItems) {
  QComboBox* combo = window->ComboBox();
  EXPECT_EQ(combo->maxVisibleItems(), layout::kComboDropDownCount);
  // A menu-like popup would ignore the limit.
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = false;
  EXPECT_EQ(combo->style()->styleHint(QStyle::SH_ComboBox_Popup, &option, combo), 0);
}

TEST_F(QtToolkitTest, PanelTextsShowInTheirPanels) {
  toolkit->SetPanelText(0, "3");
  toolkit->SetPanelText(1, "/usr/bin/prog");
  toolkit->SetPanelText(2, "--flag");
  EXPECT_EQ(window->Status()->Panel(0)->text(), "3");
  EXPECT_EQ(window->Status()->Panel(1)->text(), "/usr/bin/prog");
  EXPECT_EQ(window->Status()->Panel(2)->text(), "--flag");
  toolkit->SetPanelText(1, "");
  EXPECT_TRUE(window->Status()->Panel(1)->text().isEmpty());
}

TEST_F(QtToolkitTest, TheCaptionIsTheWindowTitle) {
  toolkit->SetCaption("Pellox | /tmp/my lists/a.lst");
  EXPECT_EQ(window->windowTitle(), "Pellox | /tmp/my lists/a.lst");
}

TEST_F(QtToolkitTest, TheWindowHandleIsTheMainWindow) {
  EXPECT_EQ(toolkit->WindowHandle(), static_cast<void*>(static_cast<QWidget*>(window)));
}

TEST_F(QtToolkitTest, TheErrorBoxIsAModalStopBoxWithOnlyOk) {
  ShowWindow();
  EXPECT_TRUE(CheckModalBox([&] { toolkit->ShowErrorBox("Pellox", "ファイルが見つかりません."); },
                            [&](QMessageBox& box) {
                              EXPECT_EQ(box.windowTitle(), "Pellox");
                              EXPECT_EQ(box.text(), "ファイルが見つかりません.");
                              EXPECT_EQ(box.icon(), QMessageBox::Critical);
                              EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
                              EXPECT_EQ(box.parentWidget(), window);
                              EXPECT_TRUE(box.isModal());
                            }));
}

// A screen reader reads the box's caption as its name and the message as
// the name of a text inside it.
bool HasTextNamed(QAccessibleInterface* node, const QString& text) {
  if (node->role() == QAccessible::StaticText && node->text(QAccessible::Name) == text) return true;
  for (int i = 0; i < node->childCount(); ++i) {
    if (QAccessibleInterface* child = node->child(i); child && HasTextNamed(child, text))
      return true;
  }
  return false;
}

TEST_F(QtToolkitTest, AssistiveTechnologyReadsTheErrorBoxsCaptionAndMessage) {
  ShowWindow();
  EXPECT_TRUE(CheckModalBox([&] { toolkit->ShowErrorBox("Pellox", "ファイルが見つかりません."); },
                            [](QMessageBox& box) {
                              QAccessibleInterface* accessible =
                                  QAccessible::queryAccessibleInterface(&box);
                              ASSERT_NE(accessible, nullptr);
                              EXPECT_EQ(accessible->text(QAccessible::Name), "Pellox");
                              EXPECT_TRUE(HasTextNamed(accessible, "ファイルが見つかりません."));
                            }));
}

// The box of a failed start-up shows the standard error report's text: a
// full stop after a message whose last byte sorts after ".", none after
// ")", and the out-of-memory text when memory ran out.
TEST_F(QtToolkitTest, TheStartUpBoxShowsTheErrorReportsText) {
  const struct {
    const char* Label;
    std::function<void()> Show;
    QString Text;
  } cases[] = {
      {"a Japanese message", [] { ShowStartUpError(Exception("整数のオーバーフロー")); },
       "整数のオーバーフロー."},
      {"a message ending in )", [] { ShowStartUpError(EInOutError::Unlisted(5)); },
       "I/O エラー (5)"},
      {"memory ran out", [] { ShowStartUpError(std::bad_alloc()); }, "メモリが不足しています."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    EXPECT_TRUE(CheckModalBox(c.Show, [&](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle(), "アプリケーション エラー");
      EXPECT_EQ(box.text(), c.Text);
      EXPECT_EQ(box.icon(), QMessageBox::Critical);
      EXPECT_EQ(box.parentWidget(), nullptr);
    }));
  }
}

}  // namespace
}  // namespace pellox::testing
