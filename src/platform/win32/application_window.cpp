#include "platform/win32/application_window.h"

#include "platform/win32/resource.h"
#include "platform/windows/last_error.h"

namespace pellox::win32 {

namespace {

// The button's Close and Minimize come from the system menu.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kPlaceOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

void ApplicationWindow::Create(HINSTANCE instance, const std::string& title) {
  // The program's icon, for the taskbar button and Alt+Tab; none in
  // programs without pellox.exe's resources (LoadIcon gives null, the
  // system's default shows).
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PELLOX));
  if (!Register(instance, 0, nullptr, LoadCursor(nullptr, IDC_ARROW), icon)) {
    ThrowLastWin32Error();
  }
  if (!CreateAs(WS_EX_APPWINDOW, title.c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr, instance)) {
    ThrowLastWin32Error();
  }
  buttonCreated_ = RegisterWindowMessageA("TaskbarButtonCreated");
  // The shell's message also reaches a program running with more rights
  // than the shell.
  if (buttonCreated_) ChangeWindowMessageFilterEx(Window(), buttonCreated_, MSGFLT_ALLOW, nullptr);
  // SetWindowPos rather than ShowWindow: the start-up show mode belongs to
  // the first ShowWindow of the program.
  SetWindowPos(Window(), nullptr, 0, 0, 0, 0, kPlaceOnly | SWP_SHOWWINDOW);
}

void ApplicationWindow::Attach(MainWindow* main, Win32TaskbarProgress* progress) {
  main_ = main;
  progress_ = progress;
}

void ApplicationWindow::Minimise(int showCommand) { ShowWindow(Window(), showCommand); }

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (buttonCreated_ != 0 && message == buttonCreated_) {
    if (progress_) progress_->ButtonCreated(Window());
    return 0;
  }
  switch (message) {
    case WM_CLOSE:
      // The button's Close: the same quit request as closing the main
      // window; a run in progress still starts its remaining entries.
      PostQuitMessage(0);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = DefWindowProcA(Window(), message, wParam, lParam);
      OnStateChanged();
      return result;
    }
    case WM_SETFOCUS:
      PassActivationOn();
      return 0;
  }
  return DefWindowProcA(Window(), message, wParam, lParam);
}

void ApplicationWindow::OnStateChanged() {
  // Every way in or out of the minimised state passes here: the button,
  // its system menu, the main window's Minimize, the start-up show mode.
  const bool minimised = IsIconic(Window()) != FALSE;
  if (minimised == minimised_) return;
  minimised_ = minimised;
  if (!main_) return;
  if (minimised) {
    main_->HideWithApplication();
  } else {
    main_->ShowWithApplication();
  }
}

void ApplicationWindow::PassActivationOn() {
  if (!main_ || !IsWindowVisible(main_->Window())) return;
  // A box or dialog in front of the disabled main window takes it instead.
  HWND target = main_->Window();
  if (!IsWindowEnabled(target)) target = GetLastActivePopup(target);
  if (target && IsWindowEnabled(target)) SetFocus(target);
}

}  // namespace pellox::win32
