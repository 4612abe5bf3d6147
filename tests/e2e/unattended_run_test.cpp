// `pellox list.lst`: the real program loads the list, starts its entries and
// ends by itself, never showing its window meanwhile; a list that cannot run
// leaves the window open.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "child_process.h"
#include "cups_fixture.h"
#include "temp_folder.h"

namespace pellox::testing {
namespace {

int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

// One line of the marker log: what a marker saw when it was started.
struct MarkerLine {
  std::string Name;
  int64_t AtMs = 0;
  std::string Arguments;  // each followed by "^"
  std::string Folder;
  std::string WindowState;  // "viewable" when the main window was on screen
};

class UnattendedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr)
        << "needs an X display (scripts/test.sh starts Xvfb)";
    WriteFile(folder / "marker",
              "#!/bin/sh\n"
              "at=$(date +%s%3N)\n"
              "name=$1; shift\n"
              "args=''; for a in \"$@\"; do args=\"$args$a^\"; done\n"
              "state=hidden\n"
              "xwininfo -name \"$PELLOX_CAPTION\" 2>/dev/null | grep -q IsViewable && "
              "state=viewable\n"
              "printf '%s\\t%s\\t%s\\t%s\\t%s\\n' \"$name\" \"$at\" \"$args\" "
              "\"$(pwd)\" \"$state\" >> \"" +
                  folder / "log" + "\"\n");
    chmod((folder / "marker").c_str(), 0755);
  }

  std::string Entry(const std::string& delay, const std::string& name,
                    const std::string& arguments) {
    return delay + "\r\n" + folder / "marker" + "\r\n" + name + " " + arguments + "\r\n";
  }

  // Starts the real program on `list` in the test's folder.
  pid_t Start(const std::string& list) {
    setenv("PELLOX_CAPTION", ("Pellox | " + list).c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    std::string command = "cd '" + folder.Path() + "' && exec '" PELLOX_BINARY "' '" + list + "'";
    return StartCommand({"/bin/sh", "-c", command}, folder / "output");
  }

  std::vector<MarkerLine> Log() {
    std::vector<MarkerLine> lines;
    std::istringstream in(ReadFile(folder / "log"));
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      MarkerLine marker;
      std::string at;
      std::getline(fields, marker.Name, '\t');
      std::getline(fields, at, '\t');
      std::getline(fields, marker.Arguments, '\t');
      std::getline(fields, marker.Folder, '\t');
      std::getline(fields, marker.WindowState, '\t');
      marker.AtMs = std::atoll(at.c_str());
      lines.push_back(marker);
    }
    return lines;
  }

  bool WindowViewable(const std::string& caption) {
    CommandResult result = RunCommand({"xwininfo", "-name", caption}, 5);
    return result.Output.find("IsViewable") != std::string::npos;
  }

  // The window (or the error box) named `caption` appears while the program
  // keeps running; then the program is ended. These tests run one at a
  // time, so no other program shows a window of that name meanwhile.
  void ExpectStaysOpen(pid_t pid, const std::string& caption) {
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowViewable(caption); }, 30))
        << "no window \"" << caption << "\"; output: " << ReadFile(folder / "output");
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "the program ended by itself";
    kill(pid, SIGTERM);
    WaitOrKill(pid, 10);
  }

  TempFolder folder;
};

TEST_F(UnattendedRunTest, StartsTheEntriesInOrderAndEndsByItself) {
  const std::string list = folder / "three.lst";
  WriteFile(list, "0\r\n3\r\n" + Entry("1", "first", "a 'b c'") + Entry("1", "second", "") +
                      Entry("2", "third", "$(touch pwned) ; |"));
  const int64_t startedAt = NowMs();
  pid_t pid = Start(list);
  ASSERT_GT(pid, 0);
  int status = WaitOrKill(pid, 60);
  ASSERT_NE(status, -1) << "still running after 60 s; output: " << ReadFile(folder / "output");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFile(folder / "output");

  std::vector<MarkerLine> log = Log();
  ASSERT_EQ(log.size(), 3u) << ReadFile(folder / "log");
  EXPECT_EQ(log[0].Name, "first");
  EXPECT_EQ(log[0].Arguments, "a^b c^");
  EXPECT_EQ(log[1].Name, "second");
  EXPECT_EQ(log[2].Name, "third");
  EXPECT_EQ(log[2].Arguments, "$(touch^pwned)^;^|^");
  EXPECT_FALSE(Exists(folder / "pwned"));
  // Each delay is a lower bound; the delays add up.
  EXPECT_GE(log[0].AtMs - startedAt, 1000);
  EXPECT_GE(log[1].AtMs - log[0].AtMs, 1000);
  EXPECT_GE(log[2].AtMs - log[1].AtMs, 2000);
  for (const MarkerLine& line : log) EXPECT_EQ(line.Folder, folder.Path());
  // The window reaches the screen only once the last entry has started, so
  // only the last marker may see it.
  EXPECT_EQ(log[0].WindowState, "hidden");
  EXPECT_EQ(log[1].WindowState, "hidden");
}

TEST_F(UnattendedRunTest, AListThatDoesNotLoadLeavesTheWindowOpenAndEmpty) {
  WriteFile(folder / "empty.lst", "0\r\n0\r\n");
  for (const std::string& list : {folder / "missing.lst", folder / "empty.lst"}) {
    SCOPED_TRACE(list);
    ExpectStaysOpen(Start(list), "Pellox");
  }
  EXPECT_TRUE(Log().empty());
}

// A device that never ends and a FIFO that nobody writes do not load: the
// empty window comes up as for a missing file, instead of the program
// reading forever or waiting in open().
TEST_F(UnattendedRunTest, AFileThatNeverEndsOrNeverOpensLeavesTheWindowOpenAndEmpty) {
  ASSERT_EQ(mkfifo((folder / "fifo.lst").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", (folder / "zero.lst").c_str()), 0);
  for (const std::string& list :
       {std::string("/dev/zero"), folder / "zero.lst", folder / "fifo.lst"}) {
    SCOPED_TRACE(list);
    ExpectStaysOpen(Start(list), "Pellox");
  }
}

TEST_F(UnattendedRunTest, APrinterErrorShowsTheErrorBoxAndStartsNothing) {
  if (CupsTestsDisabled()) GTEST_SKIP() << "PELLOX_NO_CUPS=1";
  PrivateCupsScheduler cups;
  std::string error;
  ASSERT_TRUE(cups.StartWithPrinters({"Alpha"}, error)) << error;
  // Printer choice 1 with no default printer to identify: the switch fails.
  const std::string list = folder / "printer.lst";
  WriteFile(list, "1\r\n1\r\n" + Entry("0", "never", ""));
  ExpectStaysOpen(Start(list), "Pellox");
  cups.RestoreClientEnvironment();
  EXPECT_TRUE(Log().empty());
}

}  // namespace
}  // namespace pellox::testing
