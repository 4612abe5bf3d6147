// The program on Windows, put together: the platform layer, the application
// object, the main window with its toolkit and the form. WinMain and the
// tests build it the same way.
#pragma once

#include "platform/windows/win32_api.h"

#include <optional>
#include <string>

#include "platform/win32/application_window.h"
#include "platform/win32/main_window.h"
#include "platform/win32/win32_taskbar_progress.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/windows/win32_file_system.h"
#include "platform/windows/win32_launcher.h"
#include "platform/windows/win32_message_pump.h"
#include "platform/windows/win32_printer_system.h"
#include "platform/windows/win32_process_info.h"
#include "platform/windows/win32_tick_clock.h"
#include "window/application.h"
#include "window/form1.h"

namespace pellox::win32 {

class Win32Program {
 public:
  // With `commandLine` the form sees that command line instead of the
  // process's own; `taskbarList` makes the taskbar list that shows a run's
  // progress on the button.
  explicit Win32Program(
      HINSTANCE instance, std::optional<std::string> commandLine = std::nullopt,
      Win32TaskbarProgress::ListFactory taskbarList = &Win32TaskbarProgress::ShellTaskbarList);
  Win32Program(const Win32Program&) = delete;
  Win32Program& operator=(const Win32Program&) = delete;

  // Application title and the application's window with the taskbar
  // button, then the main window from its layout. Raises EWin32Error when a
  // window cannot be created.
  void Create();
  // The window reaches the screen in the start-up show mode (FormShow runs
  // first); for SW_SHOWMINNOACTIVE the application starts minimised to its
  // button, and FormShow and the window wait for the first restore.
  void Show(int showCommand);
  // The main message loop, until the application is terminating.
  void Run() { application_.Run(); }

  MainWindow& Window() { return window_; }
  ApplicationWindow& AppWindow() { return appWindow_; }
  Win32Toolkit& Toolkit() { return toolkit_; }
  TForm1& Form() { return form_; }
  Win32MessagePump& Pump() { return pump_; }
  Win32TaskbarProgress& Progress() { return progress_; }

 private:
  HINSTANCE instance_;
  Win32TickClock clock_;
  Win32MessagePump pump_;
  Win32Launcher launcher_;
  Win32PrinterSystem printers_;
  Win32FileSystem files_;
  Win32ProcessInfo process_;
  Win32TaskbarProgress progress_;
  Platform platform_;
  TApplication application_;
  // The form comes first: it owns the grid that the window shows, and it
  // only keeps a reference to the toolkit until its handlers run.
  TForm1 form_;
  ApplicationWindow appWindow_;
  MainWindow window_;
  Win32Toolkit toolkit_;
};

}  // namespace pellox::win32
