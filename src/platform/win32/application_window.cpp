#include "platform/win32/application_window.h"

#include "platform/win32/last_error.h"
#include "platform/win32/resource.h"

namespace pellox::win32 {

namespace {

// The button's Close and Minimize come from the system menu.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kPlaceOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

void ApplicationWindow::Create(HINSTANCE instance, const std::string& title) {
  // The program's icon, for the taskbar button; none in programs without
  // pellox.exe's resources (LoadIcon gives null, the system's default shows).
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PELLOX));
  if (!Register(instance, 0, nullptr, LoadCursor(nullptr, IDC_ARROW), icon)) {
    ThrowLastWin32Error();
  }
  if (!CreateAs(WS_EX_APPWINDOW, title.c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr, instance)) {
    ThrowLastWin32Error();
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
