// The thread's window-message queue on Windows.
#pragma once

#include "platform/windows/win32_api.h"

#include "platform/message_pump.h"

namespace pellox::win32 {

// Takes and dispatches messages with the A functions. Keyboard navigation
// between the main window's controls (Tab, Shift+Tab, the selection of a
// field entered by Tab) is done here through IsDialogMessageA, so that the
// main loop and the waits of a run handle keys alike.
class Win32MessagePump : public MessagePump {
 public:
  // The window whose controls take part in keyboard navigation; null for
  // none.
  void SetDialogWindow(HWND window) { dialogWindow_ = window; }

  bool ProcessPendingMessages() override;
  // MsgWaitForMultipleObjectsEx on the input queue, so a wait never spins.
  void WaitForMessage(uint32_t timeoutMs) override;
  // PostQuitMessage(0).
  void PostQuit() override;

 private:
  HWND dialogWindow_ = nullptr;
};

}  // namespace pellox::win32
