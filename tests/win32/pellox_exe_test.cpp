// pellox.exe as a user starts it: a real process with a list file on its
// command line, starting real marker programs through the shell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pellox_exe_fixture.h"
#include "platform/win32/control_ids.h"
#include "platform/windows/scoped_handle.h"

namespace pellox::testing {
namespace {

using win32::ScopedHandle;

TEST_F(PelloxExeTest, AListOnTheCommandLineRunsInOrderAndEnds) {
  const std::string list = WriteList({"A", "B", "C"});
  Start("\"" + list + "\" ignored.lst");
  EXPECT_EQ(0, ExitCode());
  EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), StartedParameters(3));
}

// While an unattended run waits, the main window is not on the screen; the
// application's button is on the taskbar, and its Close ends the program
// once the run has started its remaining entries. The shell's word that it
// made the button (Wine never sends it) lets the run's progress go to
// Wine's taskbar list, and the run goes on as before.
TEST_F(PelloxExeTest, DuringAnUnattendedRunTheTaskbarButtonShowsAndItsCloseEndsTheProgram) {
  const std::string list = WriteEntries({{10, marker_, "B"}, {0, marker_, "C"}});
  Start("\"" + list + "\"");
  std::vector<HWND> buttons;
  ASSERT_TRUE(WaitFor([&] {
    buttons = TaskbarWindows(processId_);
    return !buttons.empty();
  }));
  ASSERT_TRUE(MarkerStarts(folder_.Path()).empty()) << "the run's wait was over before the check";
  ASSERT_EQ(1u, buttons.size());
  EXPECT_EQ("Pellox", WindowText(buttons[0]));
  HWND main = FindMainWindow();
  ASSERT_TRUE(main);
  EXPECT_EQ(buttons[0], GetWindow(main, GW_OWNER));
  EXPECT_TRUE(WaitFor([&] { return WindowText(main) == "Pellox | " + list; }));
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_EQ(std::vector<HWND>{buttons[0]}, TaskbarWindows(processId_));

  PostMessageA(buttons[0], RegisterWindowMessageA("TaskbarButtonCreated"), 0, 0);
  PostMessageA(buttons[0], WM_SYSCOMMAND, SC_CLOSE, 0);  // as the taskbar does
  EXPECT_EQ(0, ExitCode());
  EXPECT_EQ((std::vector<std::string>{"B", "C"}), StartedParameters(2));
}

// One taskbar button, the application's, titled "Pellox", for the
// program's whole life: after the first show, after File/Open and File/Save
// As (which change the main window's caption), minimised and restored; its
// Close ends the program.
TEST_F(PelloxExeTest, OneTaskbarButtonTitledPelloxForTheProgramsWholeLife) {
  const std::string list = WriteList({"A"});
  const std::string saved = folder_ / "saved.lst";
  Start("");
  HWND main = FindMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main); }));
  const std::vector<HWND> buttons = TaskbarWindows(processId_);
  ASSERT_EQ(1u, buttons.size());
  HWND application = buttons[0];
  EXPECT_EQ(application, GetWindow(main, GW_OWNER));
  const auto expectOneButton = [&](const char* when) {
    EXPECT_EQ(std::vector<HWND>{application}, TaskbarWindows(processId_)) << when;
    EXPECT_EQ("Pellox", WindowText(application)) << when;
  };
  expectOneButton("shown");

  // File/Open and File/Save As, through the real dialogs.
  const struct {
    size_t MenuItem;
    std::string Path;
  } fileCommands[] = {{1, list}, {3, saved}};
  for (const auto& command : fileCommands) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(win32::MenuItemIdOf(command.MenuItem), 0), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = VisibleDialogOf(processId_)) != nullptr; }));
    AnswerFileDialog(dialog, command.Path);
    EXPECT_TRUE(WaitFor([&] { return WindowText(main) == "Pellox | " + command.Path; }))
        << WindowText(main);
    expectOneButton(command.Path.c_str());
  }
  EXPECT_FALSE(ReadFile(saved).empty());

  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(application) && !IsWindowVisible(main); }));
  expectOneButton("minimised");
  PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);  // as the taskbar does
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(application) && IsWindowVisible(main); }));
  expectOneButton("restored");

  PostMessageA(application, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(0, ExitCode());
  EXPECT_TRUE(MarkerStarts(folder_.Path()).empty());  // Open loads, it does not run
}

// Such names used to crash the process inside the shell.
TEST_F(PelloxExeTest, ProgramNamesTooLongForTheShellAreFailedLaunchesAndTheRunGoesOn) {
  const std::string list = WriteEntries({{0, "C:\\" + std::string(997, 'a'), "x"},
                                         {0, marker_, "B"},
                                         {0, "C:\\" + std::string(4997, 'b') + ".exe", "y"},
                                         {0, marker_, "C"}});
  Start("\"" + list + "\"");
  EXPECT_EQ(0, ExitCode());
  EXPECT_EQ((std::vector<std::string>{"B", "C"}), StartedParameters(2));
}

TEST_F(PelloxExeTest, AnUnattendedRunFirstMakesTheChosenPrinterTheDefault) {
  if (!PrivateCupsPrinters()) GTEST_SKIP() << "not run beside a private CUPS scheduler";
  const std::vector<std::string> printers = SystemPrinterNames();
  ASSERT_GE(printers.size(), 2u);
  SavedDeviceValue savedDevice;
  WriteProfileStringA("windows", "device", (printers[0] + ",,").c_str());
  Start("\"" + WriteList({"P"}, 2) + "\"");
  EXPECT_EQ(0, ExitCode());
  EXPECT_EQ((std::vector<std::string>{"P"}), StartedParameters(1));
  EXPECT_EQ(printers[1] + ",,", DeviceValue());
  EXPECT_EQ(printers[1], SystemDefaultPrinter());
}

// A missing list, NUL and a pipe whose server never writes are no list:
// the empty window opens, instead of the program waiting for data, and its
// Close ends the program.
TEST_F(PelloxExeTest, AListThatDoesNotLoadOpensTheEmptyWindowAndCloseEndsIt) {
  const std::string pipeName =
      "\\\\.\\pipe\\pellox-exe-test-" + std::to_string(GetCurrentProcessId());
  ScopedHandle pipe(CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                     PIPE_TYPE_BYTE, PIPE_UNLIMITED_INSTANCES, 512, 512, 0,
                                     nullptr));
  ASSERT_TRUE(pipe.IsValid());
  ScopedHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  OVERLAPPED listening{};
  listening.hEvent = event.Get();
  ConnectNamedPipe(pipe.Get(), &listening);
  for (const std::string& list : {folder_ / "none.lst", std::string("NUL"), pipeName}) {
    SCOPED_TRACE(list);
    Start("\"" + list + "\"");
    HWND window = FindMainWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window); }));
    EXPECT_EQ("Pellox", WindowText(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, ExitCode());
  }
  CancelIo(pipe.Get());
  EXPECT_TRUE(MarkerStarts(folder_.Path()).empty());
}

TEST_F(PelloxExeTest, StartedMaximisedTheWindowOpensMaximised) {
  Start("\"" + (folder_ / "none.lst") + "\"", SW_SHOWMAXIMIZED);
  HWND window = FindMainWindow();
  ASSERT_TRUE(window);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) && IsZoomed(window); }));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, ExitCode());
}

TEST_F(PelloxExeTest, TheProgramEndsWithTheSessionOnly) {
  Start("\"" + (folder_ / "none.lst") + "\"");
  HWND window = FindMainWindow();
  ASSERT_TRUE(window);
  // A cancelled end of session leaves it running.
  EXPECT_EQ(0, SendMessageA(window, WM_ENDSESSION, FALSE, 0));
  EXPECT_EQ(-1, ExitCode(300));
  PostMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(0, ExitCode());
}

// Started minimised, the program waits on its one button, with the main
// window off the screen and the list not run, until the button is
// restored; then the list runs and the program ends.
TEST_F(PelloxExeTest, StartedMinimisedTheRunFollowsTheRestore) {
  const std::string list = WriteList({"M"});
  Start("\"" + list + "\"", SW_SHOWMINNOACTIVE);
  HWND window = FindMainWindow();
  ASSERT_TRUE(window);
  std::vector<HWND> buttons;
  ASSERT_TRUE(WaitFor([&] {
    buttons = TaskbarWindows(processId_);
    return buttons.size() == 1 && IsIconic(buttons[0]);
  }));
  EXPECT_EQ(buttons[0], GetWindow(window, GW_OWNER));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(-1, ExitCode(1000));  // the list waits for the restore
  EXPECT_TRUE(MarkerStarts(folder_.Path()).empty());

  PostMessageA(buttons[0], WM_SYSCOMMAND, SC_RESTORE, 0);  // as the taskbar does
  EXPECT_EQ(0, ExitCode());
  EXPECT_EQ((std::vector<std::string>{"M"}), StartedParameters(1));
}

}  // namespace
}  // namespace pellox::testing
