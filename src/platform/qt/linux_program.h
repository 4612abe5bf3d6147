// The Linux program as its entry assembles it: the Linux platform layer,
// the Qt main window with its toolkit operations, the application object
// titled "Pellox" and Form1 on top.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/cups_printer_system.h"
#include "platform/linux/linux_process_info.h"
#include "platform/linux/mapped_block_memory.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/posix_launcher.h"
#include "platform/linux/tick_clock.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/qt/taskbar_presence.h"
#include "window/application.h"
#include "window/form1.h"

namespace pellox {

class LinuxProgram {
 public:
  // `argv` holds the program's name and its arguments; a QApplication must
  // exist already. Started programs get `startEnvironment`: the environment
  // the program was started with, before it set Qt's variables for itself.
  // The printers ask the scheduler through `cupsHelper`, by default the
  // pellox-cups that was built or installed with this program.
  LinuxProgram(int argc, char** argv,
               std::vector<std::string> startEnvironment = CurrentEnvironment(),
               std::optional<std::string> cupsHelper = std::nullopt);
  LinuxProgram(const LinuxProgram&) = delete;
  LinuxProgram& operator=(const LinuxProgram&) = delete;

  // Start-up: the shown handler runs before the window first reaches the
  // screen (so an unattended run is over before the window is seen; the
  // taskbar lists its stand-in meanwhile), then the main message loop runs
  // until the window has been closed. Returns the exit code.
  int Run();

  MainWindow& Window() { return window_; }
  QtToolkit& Toolkit() { return toolkit_; }
  QtMessagePump& Pump() { return pump_; }
  TaskbarPresence& Presence() { return presence_; }
  TForm1& Form() { return form_; }

 private:
  MonotonicTickClock clock_;
  QtMessagePump pump_;
  PosixLauncher launcher_;
  // Before the printers: they find their helper beside the program.
  LinuxProcessInfo process_;
  CupsPrinterSystem printers_;
  PosixFileSystem files_;
  MappedBlockMemory memory_;
  TaskbarPresence presence_{pump_};
  Platform platform_;
  TApplication application_;
  // The form comes first: it owns the grid that the window shows, and it
  // only keeps a reference to the toolkit until its handlers run.
  TForm1 form_;
  MainWindow window_;
  QtToolkit toolkit_;
};

}  // namespace pellox
