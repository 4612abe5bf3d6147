// `pellox list.lst`: the real program loads the list, starts its entries and
// ends by itself, never showing its window meanwhile; a list that cannot run
// leaves the window open.
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "child_process.h"
#include "cups_fixture.h"
#include "faulty_scheduler.h"
#include "temp_folder.h"

namespace pellox::testing {
namespace {

// Three times what the program takes by itself under Xvfb.
constexpr int64_t kMaxPeakKb = int64_t{100} * 1024;

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

  // A list whose printer switch fails beside a scheduler without a default
  // printer: printer choice 1, and one entry that must never start.
  std::string WritePrinterErrorList() {
    std::string list = folder / "printer.lst";
    WriteFile(list, "1\r\n1\r\n" + Entry("0", "never", ""));
    return list;
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

  // Writes the part of the screen that the window named `caption` covers
  // to `picture` (PNG); false when that fails.
  bool Picture(const std::string& caption, const std::string& picture) {
    const std::string info = RunCommand({"xwininfo", "-name", caption}, 5).Output;
    auto number = [&](const std::string& label) {
      const size_t at = info.find(label);
      return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + label.size());
    };
    const int x = number("Absolute upper-left X:"), y = number("Absolute upper-left Y:");
    const int width = number("Width:"), height = number("Height:");
    if (x < 0 || y < 0 || width <= 0 || height <= 0) return false;
    const std::string area = std::to_string(width) + "x" + std::to_string(height) + "+" +
                             std::to_string(x) + "+" + std::to_string(y);
    return RunCommand({"import", "-window", "root", "-crop", area, "+repage", picture}, 30)
               .ExitStatus == 0;
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

  // The last marker may still be writing when the program has ended.
  WaitUntil([&] { return Log().size() >= 3; }, 20);
  std::vector<MarkerLine> log = Log();
  ASSERT_EQ(log.size(), 3u) << ReadFile(folder / "log");
  EXPECT_EQ(log[0].Name, "first");
  EXPECT_EQ(log[0].Arguments, "a^b c^");
  EXPECT_EQ(log[1].Name, "second");
  EXPECT_EQ(log[2].Name, "third");
  EXPECT_EQ(log[2].Arguments, "$(touch^pwned)^;^|^");
  EXPECT_FALSE(Exists(folder / "pwned"));
  // Each delay is a lower bound; the delays add up. A marker notes the
  // time only once its shell runs, which on a loaded machine takes longer
  // for one marker than for the next: a few of those milliseconds are
  // allowed for.
  constexpr int64_t kStartJitterMs = 100;
  EXPECT_GE(log[0].AtMs - startedAt, 1000);
  EXPECT_GE(log[1].AtMs - log[0].AtMs, 1000 - kStartJitterMs);
  EXPECT_GE(log[2].AtMs - log[1].AtMs, 2000 - kStartJitterMs);
  EXPECT_GE(log[2].AtMs - startedAt, 4000);
  for (const MarkerLine& line : log) EXPECT_EQ(line.Folder, folder.Path());
  // The window reaches the screen only once the last entry has started, so
  // only the last marker may see it.
  EXPECT_EQ(log[0].WindowState, "hidden");
  EXPECT_EQ(log[1].WindowState, "hidden");
}

// The lines "NAME=..." of an `env` listing for `name`.
std::vector<std::string> VariableLines(const std::string& listing, const std::string& name) {
  std::vector<std::string> lines;
  std::istringstream in(listing);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(name + "=")) lines.push_back(line);
  }
  return lines;
}

TEST_F(UnattendedRunTest, StartedProgramsGetTheEnvironmentPelloxWasStartedWith) {
  WriteFile(folder / "envdump", "#!/bin/sh\nenv > \"$1\"\n");
  chmod((folder / "envdump").c_str(), 0755);
  const std::string list = folder / "env.lst";
  const std::string listing = folder / "environment";
  WriteFile(list, "0\r\n1\r\n0\r\n" + folder / "envdump" + "\r\n" + listing + "\r\n");
  const char* oldScale = std::getenv("QT_SCALE_FACTOR");
  const std::string savedScale = oldScale ? oldScale : "";
  const struct {
    const char* Label;
    const char* UserScale;  // the user's QT_SCALE_FACTOR, or none
    std::vector<std::string> Expected;
  } cases[] = {
      {"a scale factor of the user's own", "1.75", {"QT_SCALE_FACTOR=1.75"}},
      {"no scale factor", nullptr, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    std::remove(listing.c_str());
    if (c.UserScale) {
      setenv("QT_SCALE_FACTOR", c.UserScale, 1);
    } else {
      unsetenv("QT_SCALE_FACTOR");
    }
    unsetenv("QT_ENABLE_HIGHDPI_SCALING");
    pid_t pid = Start(list);
    ASSERT_GT(pid, 0);
    ASSERT_NE(WaitOrKill(pid, 60), -1) << "still running; output: " << ReadFile(folder / "output");
    bool found = false;
    const std::string environment = ReadFile(listing, &found);
    ASSERT_TRUE(found) << "the entry did not run; output: " << ReadFile(folder / "output");
    EXPECT_EQ(VariableLines(environment, "QT_SCALE_FACTOR"), c.Expected);
    EXPECT_TRUE(VariableLines(environment, "QT_ENABLE_HIGHDPI_SCALING").empty());
  }
  if (oldScale) {
    setenv("QT_SCALE_FACTOR", savedScale.c_str(), 1);
  } else {
    unsetenv("QT_SCALE_FACTOR");
  }
}

// The processes that run as `uid`.
int ProcessesOf(uid_t uid) {
  int count = 0;
  for (const std::string& name : NamesIn("/proc")) {
    struct stat info {};
    if (name.find_first_not_of("0123456789") == std::string::npos &&
        stat(("/proc/" + name).c_str(), &info) == 0 && info.st_uid == uid)
      ++count;
  }
  return count;
}

// The peak of a running process's resident memory in kB; 0 once it has
// ended (or when it cannot be read).
int64_t PeakMemoryKb(pid_t pid) {
  std::istringstream status(ReadFile("/proc/" + std::to_string(pid) + "/status"));
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::atoll(line.c_str() + 6);
  }
  return 0;
}

// A scheduler that never finishes its answer (one that says nothing, one
// that sends a byte at a time, one that sends an answer without end) holds
// the start for seconds: the printer list stays empty, the list runs, and
// the program's memory stays that of a program with no printers.
TEST_F(UnattendedRunTest, ASchedulerThatNeverFinishesItsAnswerDelaysTheStartBySecondsOnly) {
  const char* oldServer = std::getenv("CUPS_SERVER");
  const std::string savedServer = oldServer ? oldServer : "";
  const std::string list = folder / "faulty.lst";
  WriteFile(list, "0\r\n1\r\n" + Entry("0", "only", ""));
  const struct {
    const char* Label;
    FaultyScheduler::Fault Fault;
  } cases[] = {{"stalled", FaultyScheduler::Fault::Silent},
               {"trickling", FaultyScheduler::Fault::Trickle},
               {"flooding", FaultyScheduler::Fault::Flood}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    FaultyScheduler scheduler(c.Fault);
    setenv("CUPS_SERVER", scheduler.SocketPath().c_str(), 1);
    std::remove((folder / "log").c_str());
    const int64_t startedAt = NowMs();
    pid_t pid = Start(list);
    ASSERT_GT(pid, 0);
    // The peak is read until the program has ended (or is given up on).
    int64_t peakKb = 0;
    int status = 0;
    const bool ended = WaitUntil(
        [&] {
          peakKb = std::max(peakKb, PeakMemoryKb(pid));
          return waitpid(pid, &status, WNOHANG) == pid;
        },
        60);
    const int64_t elapsedMs = NowMs() - startedAt;
    if (!ended) WaitOrKill(pid, 0);
    std::cout << "unattended run beside a " << c.Label << " scheduler: " << elapsedMs << " ms, "
              << peakKb / 1024 << " MB at most\n";
    EXPECT_TRUE(ended) << "still running after 60 s";
    // libcups alone waits two minutes, or for ever; this is generous for a
    // loaded machine.
    EXPECT_LT(elapsedMs, 30000);
    // Several times what the program takes with no printers; an answer
    // without end grows it by megabytes a second.
    EXPECT_LT(peakKb, kMaxPeakKb);
    WaitUntil([&] { return !Log().empty(); }, ended ? 20 : 0);
    const std::vector<MarkerLine> log = Log();
    EXPECT_EQ(log.size(), 1u);
    if (!log.empty()) {
      EXPECT_EQ(log[0].Name, "only");
    }
  }
  if (oldServer) {
    setenv("CUPS_SERVER", savedServer.c_str(), 1);
  } else {
    unsetenv("CUPS_SERVER");
  }
}

// A user id that no process has: the processes it counts are the test's.
uid_t UnusedUid() {
  for (uid_t uid = 64200; uid < 64300; ++uid) {
    if (getpwuid(uid) == nullptr && ProcessesOf(uid) == 0) return uid;
  }
  return 0;
}

// Under a process limit that the started programs reach, the window still
// paints when the run ends, and the program ends: Qt's painting waited for
// ever for a pool thread that could no longer be made. The limit does not
// hold for root, so the program runs as a user of its own.
TEST_F(UnattendedRunTest, AProcessLimitReachedByTheEntriesStopsNeitherThePaintingNorTheEnd) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to run the program as a user of its own";
  const uid_t uid = UnusedUid();
  ASSERT_NE(uid, 0u) << "no unused user id";
  // Far more entries than the limit leaves processes for.
  constexpr int kEntries = 40;
  constexpr int kProcessLimit = 30;
  TempFolder home("", 0755);
  ASSERT_EQ(chown(home.Path().c_str(), uid, uid), 0);
  const std::string list = home / "many.lst";
  std::string entries;
  for (int i = 0; i < kEntries; ++i) entries += "0\r\n/bin/sleep\r\n60\r\n";
  WriteFile(list, "0\r\n" + std::to_string(kEntries) + "\r\n" + entries);
  const std::string id = std::to_string(uid);
  // A session of its own: its process group is the program and what it
  // started, ended together at the end.
  pid_t pid = StartCommand({"setsid", "setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups",
                            "--", "env", "HOME=" + home.Path(), "prlimit",
                            "--nproc=" + std::to_string(kProcessLimit), "--", PELLOX_BINARY, list},
                           folder / "output");
  ASSERT_GT(pid, 0);
  const int status = WaitOrKill(pid, 60);
  const int started = ProcessesOf(uid);
  kill(-pid, SIGKILL);
  WaitUntil([&] { return ProcessesOf(uid) == 0; }, 20);
  ASSERT_NE(status, -1) << "still running after 60 s; output: " << ReadFile(folder / "output");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(folder / "output");
  // The entries did reach the limit: not every one could be started.
  EXPECT_GT(started, 0);
  EXPECT_LT(started, kEntries);
}

TEST_F(UnattendedRunTest, AListThatDoesNotLoadLeavesTheWindowOpenAndEmpty) {
  WriteFile(folder / "empty.lst", "0\r\n0\r\n");
  for (const std::string& list : {folder / "missing.lst", folder / "empty.lst"}) {
    SCOPED_TRACE(list);
    ExpectStaysOpen(Start(list), "Pellox");
  }
  EXPECT_TRUE(Log().empty());
}

// Only "--help" and "--version" are options; any other first argument is a
// list file's name as before, and one beginning with "-" is reached as
// ./-name.
TEST_F(UnattendedRunTest, OtherArgumentsBeginningWithADashAreListFiles) {
  WriteFile(folder / "-dash.lst", "0\r\n1\r\n" + Entry("0", "dash", ""));
  pid_t pid = Start("./-dash.lst");
  ASSERT_GT(pid, 0);
  const int status = WaitOrKill(pid, 60);
  ASSERT_NE(status, -1) << "still running; output: " << ReadFile(folder / "output");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(folder / "output");
  WaitUntil([&] { return !Log().empty(); }, 20);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].Name, "dash");

  for (const std::string argument : {"-h", "--help=all"}) {
    SCOPED_TRACE(argument);
    ExpectStaysOpen(Start(argument), "Pellox");
  }
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
  ExpectStaysOpen(Start(WritePrinterErrorList()), "Pellox");
  cups.RestoreClientEnvironment();
  EXPECT_TRUE(Log().empty());
}

// The error box of a printer error as a user sees it, pictured for a human
// to look at (that every character has a glyph is ErrorBoxFontTest's).
TEST_F(UnattendedRunTest, TheErrorBoxIsPicturedForAHumanToSee) {
  if (CupsTestsDisabled()) GTEST_SKIP() << "PELLOX_NO_CUPS=1";
  PrivateCupsScheduler cups;
  std::string error;
  ASSERT_TRUE(cups.StartWithPrinters({"Alpha"}, error)) << error;
  pid_t pid = Start(WritePrinterErrorList());
  ASSERT_GT(pid, 0);
  // Before the main window is shown, the only window named Pellox is the box.
  EXPECT_TRUE(WaitUntil([&] { return WindowViewable("Pellox"); }, 30))
      << ReadFile(folder / "output");
  usleep(1000 * 1000);  // its first paint
  mkdir(PELLOX_PICTURE_DIR, 0755);
  const std::string picture = PELLOX_PICTURE_DIR "/error-box.png";
  EXPECT_TRUE(Picture("Pellox", picture));
  std::cout << "the error box as a user sees it: " << picture << "\n";
  kill(pid, SIGTERM);
  WaitOrKill(pid, 10);
  cups.RestoreClientEnvironment();
}

}  // namespace
}  // namespace pellox::testing
