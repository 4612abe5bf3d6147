// Win32MessagePump and Win32TickClock on this thread's real queue.
#include "platform/windows/win32_message_pump.h"

#include <gtest/gtest.h>

#include "platform/windows/win32_tick_clock.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

using win32::Win32MessagePump;
using win32::Win32TickClock;

constexpr UINT kProbeMessage = WM_APP + 1;
int g_handled = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbeMessage) ++g_handled;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Win32MessagePumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PelloxPumpProbe";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window_);
    DrainMessages();
    g_handled = 0;
  }
  void TearDown() override { DestroyWindow(window_); }

  HWND window_ = nullptr;
  Win32MessagePump pump_;
};

TEST_F(Win32MessagePumpTest, HandlesEveryWaitingMessageAndReturns) {
  PostMessageA(window_, kProbeMessage, 0, 0);
  PostMessageA(window_, kProbeMessage, 0, 0);
  EXPECT_FALSE(pump_.ProcessPendingMessages());
  EXPECT_EQ(2, g_handled);
  EXPECT_FALSE(pump_.ProcessPendingMessages());
  EXPECT_EQ(2, g_handled);
}

TEST_F(Win32MessagePumpTest, AQuitRequestIsTakenOutAndProcessingGoesOn) {
  pump_.PostQuit();
  PostMessageA(window_, kProbeMessage, 0, 0);
  EXPECT_TRUE(pump_.ProcessPendingMessages());
  EXPECT_EQ(1, g_handled);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  EXPECT_FALSE(pump_.ProcessPendingMessages());
}

TEST_F(Win32MessagePumpTest, WaitReturnsForAMessageAlreadyQueued) {
  PostMessageA(window_, kProbeMessage, 0, 0);
  // Bounded by the test's timeout should it not return.
  pump_.WaitForMessage(MessagePump::kInfinite);
  EXPECT_EQ(0, g_handled);  // waiting handles nothing
  pump_.ProcessPendingMessages();
  EXPECT_EQ(1, g_handled);
}

// CPU time this thread has used, in milliseconds.
uint64_t ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
  };
  return ms(kernel) + ms(user);
}

TEST_F(Win32MessagePumpTest, WaitingForATimeoutBlocksInsteadOfSpinning) {
  const uint64_t before = ThreadCpuMs();
  pump_.WaitForMessage(300);
  EXPECT_LT(ThreadCpuMs() - before, 150u);
  EXPECT_EQ(0, g_handled);
}

TEST(Win32TickClockTest, ReadsTheSystemTickCount) {
  Win32TickClock clock;
  const DWORD before = GetTickCount();
  const uint32_t reading = clock.TickCount();
  const DWORD after = GetTickCount();
  EXPECT_LE(reading - before, after - before);
  // It moves on: bounded by the test's timeout.
  while (clock.TickCount() == reading) Sleep(1);
}

}  // namespace
}  // namespace pellox::testing
