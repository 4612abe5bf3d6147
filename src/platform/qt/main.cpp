// The program entry on Linux: `--help` and `--version` answered on standard
// output; otherwise the Qt application, the Linux platform layer, the
// application object titled "Pellox" and the main window; the shown handler
// runs before the window first reaches the screen, then the main message
// loop runs until the window has been closed.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/error_box.h"
#include "platform/qt/linux_program.h"
#include "platform/qt/paint_threads.h"
#include "platform/qt/session_bus.h"
#include "platform/qt/standard_options.h"

namespace {

// Positions and sizes are pixels as stored, whatever the screen's density.
void KeepPixelSizes() {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_SCALE_FACTOR", "1");
}

// The program's icon in every size built in, for the window and the
// taskbar; the desktop file name lets the desktop match the window to the
// menu entry (pellox.desktop).
void SetApplicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/pellox-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("pellox"));
}

// Qt 6.4's Wayland client can hang for ever while it takes down its event
// threads, after everything of the program is over (one thread may wait for
// a read that the other, already gone, had begun). On Wayland the process
// therefore ends without that last step: its windows, files and
// connections are closed by then, and the compositor lets go of a client
// that has ended.
[[noreturn]] void EndWithoutWaylandTakeDown(int exitCode) {
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that they need no display.
  if (std::optional<int> answered =
          pellox::AnswerStandardOption(argc, argv, std::cout, std::cerr)) {
    return *answered;
  }
  // The settings below are this program's own; the programs it starts get
  // the environment it was started with.
  std::vector<std::string> startEnvironment = pellox::CurrentEnvironment();
  KeepPixelSizes();
  pellox::PreventSessionBusAutolaunch();
  // The whole command line is the program's (a list file's path); Qt is
  // configured through its environment variables only.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication qtApplication(qtArgc, qtArgv);
  // Before the first program is started: those may reach a process limit.
  pellox::StartPaintThreads();
  SetApplicationIcon();
  int exitCode = 1;
  try {
    pellox::LinuxProgram program(argc, argv, std::move(startEnvironment));
    exitCode = program.Run();
  } catch (const std::exception& error) {
    pellox::ShowStartUpError(error);
  }
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    EndWithoutWaylandTakeDown(exitCode);
  }
  return exitCode;
}
