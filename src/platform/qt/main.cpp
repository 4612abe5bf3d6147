// The program entry on Linux: the Qt application, the Linux platform layer,
// the application object titled "Pellox" and the main window; the shown
// handler runs before the window first reaches the screen, then the main
// message loop runs until the window has been closed.
#include <QApplication>
#include <exception>

#include "app/application.h"
#include "common/text.h"
#include "platform/linux/cups_printer_system.h"
#include "platform/linux/linux_process_info.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/posix_launcher.h"
#include "platform/linux/tick_clock.h"
#include "platform/qt/error_box.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_toolkit.h"
#include "window/form1.h"
#include "window/layout.h"

namespace {

constexpr const char* kStartupErrorCaption = "アプリケーション エラー";

// Positions and sizes are pixels as stored, whatever the screen's density.
void KeepPixelSizes() {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_SCALE_FACTOR", "1");
}

int RunProgram(int argc, char** argv) {
  pellox::MonotonicTickClock clock;
  pellox::QtMessagePump pump;
  pellox::PosixLauncher launcher;
  pellox::CupsPrinterSystem printers;
  pellox::PosixFileSystem files;
  pellox::LinuxProcessInfo process(argc, argv);
  pellox::Platform platform{clock, pump, launcher, printers, files, process};

  pellox::TApplication application(platform);
  application.SetTitle(pellox::layout::kApplicationTitle);
  pellox::MainWindow window(pump);
  pellox::QtToolkit toolkit(window);
  pellox::TForm1 form(application, toolkit, platform);
  window.SetEventHandler([&form](pellox::FormEvent event) { form.Dispatch(event); });

  // Before the window is visible, so an unattended run is over before the
  // window is ever seen.
  form.Dispatch(pellox::FormEvent::FormShow);
  window.show();
  application.Run();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  KeepPixelSizes();
  // The whole command line is the program's (a list file's path); Qt is
  // configured through its environment variables only.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication qtApplication(qtArgc, qtArgv);
  try {
    return RunProgram(argc, argv);
  } catch (const std::exception& error) {
    pellox::ShowErrorBox(nullptr, kStartupErrorCaption, pellox::ErrorReportText(error.what()));
    return 1;
  }
}
