// The Qt message pump: what ProcessPendingMessages handles and reports,
// nesting, and waiting that ends when a message arrives.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "platform/qt/qt_message_pump.h"

namespace pellox::testing {
namespace {

class QtMessagePumpTest : public ::testing::Test {
 protected:
  void Post(std::function<void()> call) {
    QMetaObject::invokeMethod(&receiver_, std::move(call), Qt::QueuedConnection);
  }
  ~QtMessagePumpTest() override { pump.ProcessPendingMessages(); }

  QtMessagePump pump;

 private:
  QObject receiver_;
};

TEST_F(QtMessagePumpTest, NothingQueuedReportsNoQuit) {
  EXPECT_FALSE(pump.ProcessPendingMessages());
}

TEST_F(QtMessagePumpTest, AQuitRequestIsReportedOnceByTheNextProcessing) {
  pump.PostQuit();
  EXPECT_TRUE(pump.ProcessPendingMessages());
  EXPECT_FALSE(pump.ProcessPendingMessages());
}

TEST_F(QtMessagePumpTest, EveryQueuedMessageIsHandledInsideTheCallAlsoOnesPostedMeanwhile) {
  std::vector<int> handled;
  Post([&] {
    handled.push_back(1);
    Post([&] { handled.push_back(3); });
  });
  Post([&] { handled.push_back(2); });
  EXPECT_FALSE(pump.ProcessPendingMessages());
  EXPECT_EQ(handled, (std::vector<int>{1, 2, 3}));
}

TEST_F(QtMessagePumpTest, AQuitRequestDoesNotStopTheProcessing) {
  bool after = false;
  pump.PostQuit();
  Post([&] { after = true; });
  EXPECT_TRUE(pump.ProcessPendingMessages());
  EXPECT_TRUE(after);
}

TEST_F(QtMessagePumpTest, AHandlerCanProcessMessagesItselfAndTakeTheQuitRequest) {
  bool inner = false;
  bool nestedHandled = false;
  Post([&] {
    pump.PostQuit();
    Post([&] { nestedHandled = true; });
    inner = pump.ProcessPendingMessages();
  });
  pump.ProcessPendingMessages();
  EXPECT_TRUE(inner);
  EXPECT_TRUE(nestedHandled);
}

TEST_F(QtMessagePumpTest, WaitingEndsWhenAMessageIsQueued) {
  bool handled = false;
  Post([&] { handled = true; });
  pump.WaitForMessage(MessagePump::kInfinite);
  pump.ProcessPendingMessages();
  EXPECT_TRUE(handled);
}

TEST_F(QtMessagePumpTest, WaitingEndsWhenAMessageArrivesDuringTheWait) {
  bool handled = false;
  QTimer::singleShot(1, [&] { handled = true; });
  while (!handled) pump.WaitForMessage(MessagePump::kInfinite);
  EXPECT_TRUE(handled);
}

TEST_F(QtMessagePumpTest, AWaitWithATimeoutEndsWithoutAnyMessage) {
  pump.WaitForMessage(1);
  pump.WaitForMessage(0);
  SUCCEED();  // returning at all is the point: nothing else would wake it
}

TEST_F(QtMessagePumpTest, AQuitRequestTakenOutDuringAWaitIsReportedAfterwards) {
  pump.PostQuit();
  pump.WaitForMessage(MessagePump::kInfinite);
  EXPECT_TRUE(pump.ProcessPendingMessages());
}

}  // namespace
}  // namespace pellox::testing
