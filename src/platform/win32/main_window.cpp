#include "platform/win32/main_window.h"

#include "platform/win32/control_builder.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/main_menu.h"
#include "platform/win32/resource.h"
#include "platform/windows/last_error.h"

namespace pellox::win32 {

namespace {

// Fixed size: no sizing border and no maximize box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HFONT CreateWindowFont() {
  const layout::Window& w = layout::kWindow;
  return CreateFontA(w.FontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     static_cast<DWORD>(w.FontCharset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, w.FontName);
}

}  // namespace

void MainWindow::Create(HINSTANCE instance, HWND owner) {
  HBRUSH face = IntegerAs<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  // The program's icon, for the title bar and the taskbar; none in programs
  // without pellox.exe's resources.
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PELLOX));
  if (!Register(instance, 0, face, LoadCursor(nullptr, IDC_ARROW), icon)) ThrowLastWin32Error();
  const layout::Window& w = layout::kWindow;
  RECT outer{0, 0, w.ClientWidth, w.ClientHeight};
  AdjustWindowRectEx(&outer, kStyle, TRUE, 0);
  HMENU menu = BuildMainMenu();
  if (!CreateAs(0, w.Caption, kStyle, w.Left, w.Top, outer.right - outer.left,
                outer.bottom - outer.top, owner, menu, instance)) {
    DestroyMenu(menu);
    ThrowLastWin32Error();
  }
  FitClientArea();
  font_ = GdiObject<HFONT>(CreateWindowFont());
  CreateControls(instance);
}

void MainWindow::FitClientArea() {
  // The menu bar's real height is known only now; correct for any
  // difference to the estimate.
  RECT client, outer;
  GetClientRect(Window(), &client);
  GetWindowRect(Window(), &outer);
  const int dw = layout::kWindow.ClientWidth - client.right;
  const int dh = layout::kWindow.ClientHeight - client.bottom;
  if (dw == 0 && dh == 0) return;
  SetWindowPos(Window(), nullptr, 0, 0, outer.right - outer.left + dw,
               outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::CreateControls(HINSTANCE instance) {
  // In the table's order: the z-order that dialog navigation follows is
  // then the tab order, and each label stands right before the control it
  // names, where the system's accessibility looks for it.
  ControlBuilder builder(Window(), instance, font_.Get(), grid_);
  for (const layout::Control& control : layout::kControls) {
    controls_[static_cast<size_t>(control.Id)] = builder.Create(control);
  }
  lastFocus_ = Control(layout::ControlId::ComboBox1);
}

void MainWindow::Show(int showCommand) {
  if (showCommand == SW_SHOWMINNOACTIVE) {
    formShow_ = FormShowState::PutOff;
    return;
  }
  showCommand_ = showCommand == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  PutOnScreen();
}

void MainWindow::HideWithApplication() {
  if (!IsWindowVisible(Window())) return;
  showCommand_ = IsIconic(Window()) ? SW_RESTORE : SW_SHOW;
  ShowWindow(Window(), SW_HIDE);
}

void MainWindow::ShowWithApplication() {
  if (formShow_ == FormShowState::NotYet) return;  // the start-up show is still to come
  PutOnScreen();
}

void MainWindow::PutOnScreen() {
  RunFormShow();
  // FormShow still running further up shows the window when it returns; an
  // application minimised meanwhile shows it when it is restored.
  if (formShow_ != FormShowState::Done || IsIconic(Owner())) return;
  if (IsWindowVisible(Window()) && !IsIconic(Window())) return;
  ShowWindow(Window(), showCommand_);
  UpdateWindow(Window());
}

void MainWindow::RunFormShow() {
  if (formShow_ == FormShowState::Running || formShow_ == FormShowState::Done) return;
  formShow_ = FormShowState::Running;
  Dispatch(FormEvent::FormShow);
  formShow_ = FormShowState::Done;
}

void MainWindow::Dispatch(FormEvent event) {
  if (form_) form_->Dispatch(event);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), IntegerAs<HWND>(lParam));
      return 0;
    case WM_MENUCHAR:
      return MenuCharResult(IntegerAs<HMENU>(lParam), static_cast<char>(LOWORD(wParam)));
    case WM_CLOSE:
      // Neither hidden nor destroyed: the loop ends when control next
      // returns to it, after a running handler has finished.
      PostQuitMessage(0);
      return 0;
    case WM_SYSCOMMAND:
      // Minimize (title bar, system menu, Win+Down) minimises the
      // application to its button, which takes this window off the screen.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(Owner(), SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_SHOWWINDOW:
      // Shown by anything else before the user's first restore: FormShow
      // still runs before the window reaches the screen.
      if (wParam && FormShowPending()) RunFormShow();
      break;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SETFOCUS:
      if (lastFocus_) SetFocus(lastFocus_);
      return 0;
    case WM_SIZE:
      // Minimised some other way (ShowWindow from outside): the application
      // follows, and this window leaves the screen with it.
      if (wParam == SIZE_MINIMIZED && !IsIconic(Owner())) ShowWindow(Owner(), SW_MINIMIZE);
      OnSize();
      return 0;
    case WM_ENDSESSION:
      // Logging off or shutting down ends the program at once.
      if (wParam) ExitProcess(0);
      return 0;
  }
  return DefWindowProcA(Window(), message, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code, HWND control) {
  std::optional<FormEvent> event;
  if (!control && code == 0) {
    event = MenuClickEvent(id);
  } else if (code == BN_CLICKED && control == GetDlgItem(Window(), id)) {
    event = ControlClickEvent(id);
  }
  if (event) Dispatch(*event);
}

void MainWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(Window(), focus)) lastFocus_ = focus;
    return;
  }
  if (IsIconic(Window())) return;
  if (lastFocus_) SetFocus(lastFocus_);
}

void MainWindow::OnSize() {
  // The status bar stays docked to the bottom edge, also when maximised.
  HWND bar = Control(layout::ControlId::StatusBar1);
  if (!bar) return;
  RECT client;
  GetClientRect(Window(), &client);
  if (client.bottom == 0) return;
  const layout::Control& layout = layout::ControlById(layout::ControlId::StatusBar1);
  SetWindowPos(bar, nullptr, 0, client.bottom - layout.Height, client.right, layout.Height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pellox::win32
