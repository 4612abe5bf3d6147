// The File menu: its items and captions as laid out, no shortcuts, and the
// letters typed while it is open: access letters choose their items, E
// chooses "Exit(X)", which has no access letter, and A and X choose nothing.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <optional>

#include "window/layout.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

class QtMenuTest : public WindowFixture {
 protected:
  QMenu* OpenFileMenu() {
    ShowWindow();
    QMenu* menu = window->FileMenu();
    menu->popup(window->mapToGlobal(QPoint(0, window->menuBar()->height())));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
    return menu;
  }
};

TEST_F(QtMenuTest, TheMenuBarHoldsTheFileMenuWithItsAccessLetter) {
  const QList<QAction*> menus = window->menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus.front()->text(), QString::fromUtf8(layout::kFileMenu.Caption));
  EXPECT_EQ(menus.front()->menu(), window->FileMenu());
}

TEST_F(QtMenuTest, TheFileMenuHoldsTheLayoutItemsInOrderWithoutShortcuts) {
  const QList<QAction*> items = window->FileMenu()->actions();
  ASSERT_EQ(static_cast<size_t>(items.size()), layout::kFileMenuItems.size());
  for (size_t i = 0; i < layout::kFileMenuItems.size(); ++i) {
    const layout::MenuItem& item = layout::kFileMenuItems[i];
    SCOPED_TRACE(item.Name);
    const QAction* action = items[static_cast<qsizetype>(i)];
    EXPECT_EQ(action->objectName(), QString::fromUtf8(item.Name));
    const bool separator = std::string_view(item.Caption) == "-";
    EXPECT_EQ(action->isSeparator(), separator);
    if (!separator) {
      EXPECT_EQ(action->text(), QString::fromUtf8(item.Caption));
    }
    EXPECT_TRUE(action->shortcut().isEmpty());
  }
}

TEST_F(QtMenuTest, EveryItemReachesTheFormAsItsEvent) {
  RecordOnly();
  for (size_t i = 0; i < layout::kFileMenuItems.size(); ++i) {
    const layout::MenuItem& item = layout::kFileMenuItems[i];
    if (!item.Click) continue;
    SCOPED_TRACE(item.Name);
    events.clear();
    window->FileMenuItems()[i]->trigger();
    EXPECT_EQ(events, std::vector<FormEvent>{*item.Click});
  }
}

struct TypedLetter {
  const char* Label;
  Qt::Key Key;
  std::optional<FormEvent> Chosen;
};

void PrintTo(const TypedLetter& letter, std::ostream* out) { *out << letter.Label; }

class QtMenuLetterTest : public QtMenuTest, public ::testing::WithParamInterface<TypedLetter> {};

TEST_P(QtMenuLetterTest, ALetterTypedInTheOpenMenuChoosesItsItemOrNothing) {
  RecordOnly();
  QMenu* menu = OpenFileMenu();
  QTest::keyClick(menu, GetParam().Key);
  ProcessMessages();
  if (GetParam().Chosen) {
    EXPECT_EQ(events, std::vector<FormEvent>{*GetParam().Chosen});
    EXPECT_FALSE(menu->isVisible());
  } else {
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
  }
}

INSTANTIATE_TEST_SUITE_P(
    FileMenu, QtMenuLetterTest,
    ::testing::Values(TypedLetter{"N_access_letter_of_New", Qt::Key_N, FormEvent::MnuNewClick},
                      TypedLetter{"O_access_letter_of_Open", Qt::Key_O, FormEvent::MnuOpenClick},
                      TypedLetter{"S_access_letter_of_Save", Qt::Key_S, FormEvent::MnuSaveClick},
                      TypedLetter{"E_first_letter_of_Exit", Qt::Key_E, FormEvent::MnuExitClick},
                      TypedLetter{"A_plain_text_in_SaveAs", Qt::Key_A, std::nullopt},
                      TypedLetter{"X_plain_text_in_Exit", Qt::Key_X, std::nullopt}),
    [](const ::testing::TestParamInfo<TypedLetter>& test) { return test.param.Label; });

TEST_F(QtMenuTest, ETypedInTheOpenMenuEndsTheProgram) {
  QMenu* menu = OpenFileMenu();
  QTest::keyClick(menu, Qt::Key_E);
  EXPECT_TRUE(ProcessMessages());  // the quit request that Exit posted
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace pellox::testing
