// The main window Form1 on Win32: creates itself and its controls from the
// layout table, turns clicks and menu choices into the form's events, and
// runs FormShow just before the window first reaches the screen. Owns no
// behaviour of the core: what an event does is TForm1's.
#pragma once

#include "platform/windows/win32_api.h"

#include <array>

#include "platform/win32/base_window.h"
#include "platform/win32/gdi_object.h"
#include "platform/win32/grid_control.h"
#include "window/form1.h"
#include "window/layout.h"

namespace pellox::win32 {

class MainWindow : public BaseWindow<MainWindow> {
 public:
  static constexpr const char* kClassName = "PelloxForm1";

  // The grid control shows `grid` (the form's StringGrid1), which must
  // outlive the window.
  explicit MainWindow(GridModel& grid) : grid_(grid) {}

  // Creates the window (hidden) and all its controls, owned by `owner`
  // (the application's window, which has the taskbar button); raises
  // EWin32Error.
  void Create(HINSTANCE instance, HWND owner);
  // The form whose handlers the window's events reach.
  void SetForm(TForm1* form) { form_ = form; }

  // Puts the window on the screen in the start-up show mode: FormShow first,
  // then maximised for SW_SHOWMAXIMIZED and normal otherwise. For
  // SW_SHOWMINNOACTIVE the application starts minimised, and FormShow and
  // the window wait for the user's first restore.
  void Show(int showCommand);
  // The application was minimised to its button: the window leaves the
  // screen.
  void HideWithApplication();
  // The application was restored from its button: the window comes back as
  // it was; the first time after a minimised start, FormShow runs first.
  void ShowWithApplication();

  HWND Control(layout::ControlId id) const { return controls_[static_cast<size_t>(id)]; }
  GridControl& Grid() { return grid_; }
  const GridControl& Grid() const { return grid_; }
  bool FormShowPending() const { return formShow_ == FormShowState::PutOff; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void CreateControls(HINSTANCE instance);
  void FitClientArea();
  void RunFormShow();
  void PutOnScreen();
  HWND Owner() const { return GetWindow(Window(), GW_OWNER); }
  void OnCommand(int id, int code, HWND control);
  void OnActivate(bool active);
  void OnSize();
  void Dispatch(FormEvent event);

  std::array<HWND, layout::kControls.size()> controls_{};
  GridControl grid_;
  GdiObject<HFONT> font_;
  TForm1* form_ = nullptr;
  HWND lastFocus_ = nullptr;
  // FormShow runs once: at the first show, or, after a minimised start,
  // when the user first restores the application. While it runs (an
  // unattended run), the window stays off the screen.
  enum class FormShowState { NotYet, PutOff, Running, Done };
  FormShowState formShow_ = FormShowState::NotYet;
  // How the window comes (back) on the screen: the start-up show mode, then
  // as it was when the application was minimised.
  int showCommand_ = SW_SHOWNORMAL;
};

}  // namespace pellox::win32
