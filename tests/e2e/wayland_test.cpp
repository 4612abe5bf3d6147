// The Linux program in a Wayland session: a headless weston of the test's
// own, with Qt's Wayland platform (no X display at all). The real program
// runs a list unattended, with its window at its fixed size and no
// stand-in window; in this process the window opens at its fixed size and
// File/Exit ends the program.
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <regex>
#include <sstream>

#include "child_process.h"
#include "cups_fixture.h"
#include "desktop_fixture.h"
#include "platform/qt/linux_program.h"
#include "platform/qt/session_bus.h"
#include "temp_folder.h"
#include "window/layout.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;

// The last width and height that a protocol log (WAYLAND_DEBUG) shows the
// client asking for with xdg_toplevel's `request` (set_min_size, ...).
std::string LastSize(const std::string& log, const std::string& request) {
  const std::regex call("xdg_toplevel@[0-9]+\\." + request + "\\(([0-9]+), ([0-9]+)\\)");
  std::string size;
  for (auto it = std::sregex_iterator(log.begin(), log.end(), call); it != std::sregex_iterator();
       ++it) {
    size = (*it)[1].str() + "x" + (*it)[2].str();
  }
  return size;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

class WaylandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "marker", "#!/bin/sh\necho \"$1\" >> \"" + folder_ / "log" + "\"\n");
    chmod((folder_ / "marker").c_str(), 0755);
  }
  Texts Started() {
    std::istringstream in(ReadFile(folder_ / "log"));
    Texts names;
    for (std::string name; std::getline(in, name);) names.push_back(name);
    return names;
  }

  TempFolder folder_;
};

// Qt's Wayland platform, chosen by QT_QPA_PLATFORM or, as a Wayland
// desktop session says, by XDG_SESSION_TYPE.
TEST_F(WaylandTest, TheRealProgramRunsAListUnattendedWithItsWindowAtItsFixedSize) {
  const std::string list = folder_ / "run.lst";
  const std::string marker = folder_ / "marker";
  WriteFile(list, "0\r\n2\r\n0\r\n" + marker + "\r\nA\r\n1\r\n" + marker + "\r\nB\r\n");
  const struct {
    const char* Label;
    Texts Environment;
  } sessions[] = {
      {"QT_QPA_PLATFORM=wayland", {"QT_QPA_PLATFORM=wayland"}},
      {"XDG_SESSION_TYPE=wayland", {"-u", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE=wayland"}},
  };
  for (const auto& session : sessions) {
    SCOPED_TRACE(session.Label);
    std::remove((folder_ / "log").c_str());
    Texts argv{"env"};
    argv.insert(argv.end(), session.Environment.begin(), session.Environment.end());
    argv.insert(argv.end(), {"WAYLAND_DEBUG=client", PELLOX_BINARY, list});
    const pid_t pid = StartCommand(argv, folder_ / "protocol");
    ASSERT_GT(pid, 0);
    const int status = WaitOrKill(pid, 60);
    ASSERT_NE(status, -1) << "still running after 60 s";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Started(), (Texts{"A", "B"}));

    const std::string protocol = ReadFile(folder_ / "protocol");
    // One window, the main window, shown for a moment at the end: no
    // stand-in, which Wayland could not keep off the screen.
    EXPECT_EQ(Count(protocol, ".get_toplevel("), 1u);
    const std::string minimum = LastSize(protocol, "set_min_size");
    EXPECT_FALSE(minimum.empty() || minimum == "0x0") << minimum;
    EXPECT_EQ(minimum, LastSize(protocol, "set_max_size"));
  }
}

TEST_F(WaylandTest, TheWindowOpensAtItsFixedSizeAndFileExitEndsTheProgram) {
  ASSERT_EQ(QGuiApplication::platformName(), "wayland");
  PrivateCupsScheduler neverStarted;  // no printers, and no scheduler to wait for
  neverStarted.UseAsClientEnvironment();
  char name[] = "pellox";
  char* argv[] = {name, nullptr};
  LinuxProgram program(1, argv, CurrentEnvironment(), PELLOX_CUPS_HELPER);
  program.Presence().Show(1, 1);
  EXPECT_EQ(program.Presence().StandIn(), nullptr);  // Wayland: the launcher entry only
  program.Presence().Clear();

  program.Form().Dispatch(FormEvent::FormShow);
  MainWindow& window = program.Window();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.windowHandle(), 10000));
  EXPECT_EQ(window.ClientArea()->size(),
            QSize(layout::kWindow.ClientWidth, layout::kWindow.ClientHeight));
  EXPECT_EQ(window.windowHandle()->minimumSize(), window.windowHandle()->maximumSize());
  EXPECT_EQ(window.windowHandle()->minimumSize(), window.size());

  window.findChild<QAction*>(QStringLiteral("MnuExit"))->trigger();
  EXPECT_TRUE(program.Pump().ProcessPendingMessages());  // the quit request ends the loop
  neverStarted.RestoreClientEnvironment();
}

}  // namespace
}  // namespace pellox::testing

// A weston of its own for the whole run, before the QApplication that
// connects to it.
int main(int argc, char** argv) {
  auto weston = std::make_unique<pellox::testing::PrivateWeston>();
  std::string error;
  if (!weston->Start(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  setenv("XDG_RUNTIME_DIR", weston->RuntimeDir().c_str(), 1);
  setenv("WAYLAND_DISPLAY", weston->SocketName().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "wayland", 1);
  unsetenv("DISPLAY");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  pellox::PreventSessionBusAutolaunch();
  int result = 0;
  {
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  weston.reset();
  // Ends without the exit handlers, as the program does on Wayland: Qt's
  // Wayland platform loads Mesa's software driver with EGL and unloads it
  // at the end, leaving an allocation that LeakSanitizer can pin on no
  // module (our code's leaks are checked in the other Qt tests).
  std::fflush(nullptr);
  std::_Exit(result);
}
