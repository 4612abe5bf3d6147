// The program on the taskbar during a run, on the real widgets: the
// stand-in window for a run before the main window's first show, what
// closing and restoring it do, and when it goes.
#include "platform/qt/taskbar_presence.h"

#include <gtest/gtest.h>

#include "platform/qt/qt_message_pump.h"

namespace pellox::testing {
namespace {

class TaskbarPresenceTest : public ::testing::Test {
 protected:
  ~TaskbarPresenceTest() override { pump.ProcessPendingMessages(); }

  QtMessagePump pump;
  TaskbarPresence presence{pump};
};

TEST_F(TaskbarPresenceTest, ARunBeforeTheFirstShowHasAMinimisedStandInUntilTheWindowShows) {
  EXPECT_EQ(presence.StandIn(), nullptr);
  presence.Show(1, 3);
  QWidget* standIn = presence.StandIn();
  ASSERT_NE(standIn, nullptr);
  EXPECT_TRUE(standIn->isWindow());
  EXPECT_EQ(standIn->windowTitle(), "Pellox");
  EXPECT_TRUE(standIn->isVisible());
  EXPECT_TRUE(standIn->isMinimized());

  // One stand-in for the whole run, also past its end (an error box may
  // follow before the window shows).
  presence.Show(2, 3);
  presence.Clear();
  EXPECT_EQ(presence.StandIn(), standIn);

  presence.MainWindowShown();
  EXPECT_EQ(presence.StandIn(), nullptr);
  presence.Show(1, 1);  // a run from the window: its own button is there
  EXPECT_EQ(presence.StandIn(), nullptr);
}

TEST_F(TaskbarPresenceTest, ClosingTheStandInAsksToQuitAndKeepsIt) {
  presence.Show(1, 2);
  presence.StandIn()->close();
  EXPECT_TRUE(pump.ProcessPendingMessages());
  ASSERT_NE(presence.StandIn(), nullptr);
  EXPECT_TRUE(presence.StandIn()->isVisible());
}

TEST_F(TaskbarPresenceTest, RestoredTheStandInGoesBackToMinimised) {
  presence.Show(1, 2);
  QWidget* standIn = presence.StandIn();
  standIn->setWindowState(Qt::WindowNoState);
  pump.ProcessPendingMessages();
  EXPECT_TRUE(standIn->isMinimized());
  EXPECT_TRUE(standIn->isVisible());
}

}  // namespace
}  // namespace pellox::testing
