#include "platform/win32/application_window.h"

#include "platform/win32/last_error.h"

namespace pellox::win32 {

namespace {

// The button's Close and Minimize come from the system menu.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kPlaceOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

// The program's icon resource (IDI_PELLOX). LoadIcon gives null when the
// executable has none, and the class then keeps the system's default icon.
constexpr WORD kIconResource = 1;

}  // namespace

void ApplicationWindow::Create(HINSTANCE instance, const std::string& title) {
  if (!Register(instance, 0, nullptr, LoadCursor(nullptr, IDC_ARROW))) ThrowLastWin32Error();
  if (!CreateAs(WS_EX_APPWINDOW, title.c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr, instance)) {
    ThrowLastWin32Error();
  }
  if (HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource))) {
    SetClassLongPtrA(Window(), GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  }
  // SetWindowPos rather than ShowWindow: the start-up show mode belongs to
  // the main window's first ShowWindow.
  SetWindowPos(Window(), nullptr, 0, 0, 0, 0, kPlaceOnly | SWP_SHOWWINDOW);
}

void ApplicationWindow::Hide() {
  SetWindowPos(Window(), nullptr, 0, 0, 0, 0, kPlaceOnly | SWP_HIDEWINDOW);
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    // The taskbar button's Close: the same quit request as closing the
    // main window; a run in progress still starts its remaining entries.
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(Window(), message, wParam, lParam);
}

}  // namespace pellox::win32
