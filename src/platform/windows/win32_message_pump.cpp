#include "platform/windows/win32_message_pump.h"

namespace pellox::win32 {

bool Win32MessagePump::ProcessPendingMessages() {
  bool quit = false;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Only a mark: the caller decides when to stop, and the messages
      // behind the request are still handled.
      quit = true;
      continue;
    }
    if (dialogWindow_ && IsDialogMessageA(dialogWindow_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return quit;
}

void Win32MessagePump::WaitForMessage(uint32_t timeoutMs) {
  // MWMO_INPUTAVAILABLE also wakes for messages that arrived before the
  // call but were not taken out yet.
  MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32MessagePump::PostQuit() { PostQuitMessage(0); }

}  // namespace pellox::win32
