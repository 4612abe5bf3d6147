// The application's own top-level window. It holds the program's one
// taskbar button, under the application title and with the program's icon,
// for the program's whole life, and owns the main window, which therefore
// has no button of its own: the main window's caption never reaches the
// taskbar or Alt+Tab. Minimising and restoring go through it: minimised, it
// takes the main window off the screen; restored, it brings it back as it
// was. Activated from its button or by Alt+Tab, it hands the activation on
// to the main window. It has no size and draws nothing.
#pragma once

#include "platform/windows/win32_api.h"

#include <string>

#include "platform/win32/base_window.h"
#include "platform/win32/main_window.h"
#include "platform/win32/win32_taskbar_progress.h"

namespace pellox::win32 {

class ApplicationWindow : public BaseWindow<ApplicationWindow> {
 public:
  static constexpr const char* kClassName = "PelloxApplication";

  // Creates the window with the caption `title` and shows it without
  // activating it, so that the button is there from start-up on; raises
  // EWin32Error.
  void Create(HINSTANCE instance, const std::string& title);
  // The main window that minimising and restoring move, and the progress
  // that the button shows once the shell has made it.
  void Attach(MainWindow* main, Win32TaskbarProgress* progress);

  // Minimises the application to its button, without activating it for
  // SW_SHOWMINNOACTIVE (the start-up show mode), as the button's Minimize
  // does otherwise.
  void Minimise(int showCommand = SW_MINIMIZE);
  bool Minimised() const { return minimised_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnStateChanged();
  void PassActivationOn();

  MainWindow* main_ = nullptr;
  Win32TaskbarProgress* progress_ = nullptr;
  // The shell's registered message that says it made the button.
  UINT buttonCreated_ = 0;
  bool minimised_ = false;
};

}  // namespace pellox::win32
