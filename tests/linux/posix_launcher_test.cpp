// The launcher against real processes. The test program doubles as the
// started program: with PELLOX_CHILD_RECORD set it only writes down its
// pid, current folder and arguments to that file and ends.
#include "platform/linux/posix_launcher.h"

#include <dirent.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "child_process.h"
#include "temp_folder.h"

extern char** environ;

namespace pellox::testing {
namespace {

constexpr const char* kRecordVariable = "PELLOX_CHILD_RECORD";

// Child side: "<pid>\0<cwd>\0<argv0>\0<argv1>\0...\n<NAME=value>\0...", written
// under another name and renamed, so a reader sees all of it or nothing.
int RecordThisRun(const char* recordPath, int argc, char** argv) {
  char cwd[PATH_MAX] = {};
  if (getcwd(cwd, sizeof cwd) == nullptr) return 2;
  std::string record = std::to_string(getpid());
  record += '\0';
  record += cwd;
  record += '\0';
  for (int i = 0; i < argc; ++i) {
    record += argv[i];
    record += '\0';
  }
  record += '\n';
  for (char** entry = environ; *entry; ++entry) {
    record += *entry;
    record += '\0';
  }
  const std::string partPath = std::string(recordPath) + ".part";
  std::ofstream(partPath, std::ios::binary) << record;
  return std::rename(partPath.c_str(), recordPath) == 0 ? 0 : 3;
}

struct ChildRun {
  bool Found = false;
  pid_t Pid = 0;
  std::string Cwd;
  std::vector<std::string> Argv;
  std::vector<std::string> Environment;
};

std::vector<std::string> SplitAtNul(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t nul; (nul = text.find('\0', start)) != std::string::npos; start = nul + 1) {
    fields.push_back(text.substr(start, nul - start));
  }
  return fields;
}

ChildRun ReadRecord(const std::string& path) {
  ChildRun run;
  std::string record = ReadFile(path, &run.Found);
  if (!run.Found) return run;
  // The environment follows the last argument's NUL; no argument here
  // starts with a line break.
  size_t environmentStart = record.find(std::string_view("\0\n", 2));
  if (environmentStart == std::string::npos) return run;
  std::vector<std::string> fields = SplitAtNul(record.substr(0, environmentStart + 1));
  run.Environment = SplitAtNul(record.substr(environmentStart + 2));
  if (fields.size() < 2) return run;
  run.Pid = static_cast<pid_t>(std::stol(fields[0]));
  run.Cwd = fields[1];
  run.Argv.assign(fields.begin() + 2, fields.end());
  return run;
}

// The processes whose parent is this one, zombies included.
std::vector<pid_t> ChildrenOfThisProcess() {
  std::vector<pid_t> children;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return children;
  while (dirent* entry = readdir(proc)) {
    std::string stat = ReadFile(std::string("/proc/") + entry->d_name + "/stat");
    // "pid (comm) state ppid ...": comm may hold blanks and parentheses.
    size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    int ppid = 0;
    if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == getpid()) {
      children.push_back(static_cast<pid_t>(std::atoi(entry->d_name)));
    }
  }
  closedir(proc);
  return children;
}

std::string SelfPath() {
  char real[PATH_MAX];
  return realpath("/proc/self/exe", real) ? real : "";
}

class PosixLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    oldCwd_ = cwd;
    const char* path = std::getenv("PATH");
    oldPath_ = path ? path : "";
    ASSERT_EQ(mkdir((folder_ / "bin").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((folder_ / "work").c_str(), 0755), 0);
    ASSERT_EQ(chdir((folder_ / "work").c_str()), 0);
    setenv(kRecordVariable, RecordPath().c_str(), 1);
  }

  void TearDown() override {
    // Every child must be gone, not a zombie, before the next test looks.
    EXPECT_TRUE(AllChildrenGone()) << "a started process stayed a child of the test";
    unsetenv(kRecordVariable);
    setenv("PATH", oldPath_.c_str(), 1);
    EXPECT_EQ(chdir(oldCwd_.c_str()), 0);
  }

  std::string RecordPath() const { return folder_ / "record"; }

  // Puts a link to this test program as `name` in the private bin folder.
  void InstallMarker(const std::string& name) {
    ASSERT_EQ(symlink(SelfPath().c_str(), (folder_ / "bin/" + name).c_str()), 0);
  }

  void PutBinFirstOnPath() { setenv("PATH", (folder_ / "bin:" + oldPath_).c_str(), 1); }

  // Bounded: a started child ends within moments; a zombie never goes away.
  static bool AllChildrenGone() {
    return WaitUntil([] { return ChildrenOfThisProcess().empty(); }, 20);
  }

  // Runs Open and waits until what it started has ended and was reaped.
  ChildRun OpenAndCollect(const std::string& file, const std::string& parameters) {
    launcher_.Open(nullptr, file, parameters);
    EXPECT_TRUE(AllChildrenGone()) << "started process left a zombie or never ended";
    return ReadRecord(RecordPath());
  }

  TempFolder folder_{"", 0755};
  PosixLauncher launcher_;
  std::string oldCwd_;
  std::string oldPath_;
};

TEST_F(PosixLauncherTest, StartsAProgramByPathWithSplitArguments) {
  ChildRun run = OpenAndCollect(SelfPath(), "/quiet  'two words' \"x y\" a\\ b");
  ASSERT_TRUE(run.Found) << "the program did not run";
  EXPECT_EQ(run.Argv, (std::vector<std::string>{SelfPath(), "/quiet", "two words", "x y", "a b"}));
}

TEST_F(PosixLauncherTest, ShellSyntaxArrivesLiterallyAndNoShellRuns) {
  const std::string parameters =
      "\"$(touch pwned1)\" $(touch pwned2) ; touch pwned3 | touch pwned4 `touch pwned5` "
      "'it''s' \\$HOME *";
  ChildRun run = OpenAndCollect(SelfPath(), parameters);
  ASSERT_TRUE(run.Found);
  const std::vector<std::string> expected = {
      SelfPath(), "$(touch pwned1)", "$(touch", "pwned2)", ";",   "touch", "pwned3", "|",
      "touch",    "pwned4",          "`touch",  "pwned5`", "its", "$HOME", "*"};
  EXPECT_EQ(run.Argv, expected);
  for (const char* name : {"pwned1", "pwned2", "pwned3", "pwned4", "pwned5"}) {
    EXPECT_FALSE(Exists(folder_ / "work/" + name)) << name << " was created by a shell";
  }
}

TEST_F(PosixLauncherTest, ChildRunsInTheCurrentFolder) {
  ASSERT_EQ(mkdir((folder_ / "elsewhere").c_str(), 0755), 0);
  ASSERT_EQ(chdir((folder_ / "elsewhere").c_str()), 0);
  ChildRun run = OpenAndCollect(SelfPath(), "");
  ASSERT_TRUE(run.Found);
  EXPECT_EQ(run.Cwd, folder_ / "elsewhere");
  EXPECT_EQ(run.Argv, (std::vector<std::string>{SelfPath()}));
}

TEST_F(PosixLauncherTest, EmptyParameterTextGivesNoArguments) {
  ChildRun run = OpenAndCollect(SelfPath(), "   ");
  ASSERT_TRUE(run.Found);
  EXPECT_EQ(run.Argv.size(), 1u);
}

TEST_F(PosixLauncherTest, FindsAProgramOnPath) {
  InstallMarker("pellox-marker");
  PutBinFirstOnPath();
  ChildRun run = OpenAndCollect("pellox-marker", "one 'two three'");
  ASSERT_TRUE(run.Found);
  EXPECT_EQ(run.Argv, (std::vector<std::string>{"pellox-marker", "one", "two three"}));
}

TEST_F(PosixLauncherTest, RelativePathWithSlashIsTakenFromTheCurrentFolder) {
  InstallMarker("tool");
  ASSERT_EQ(chdir(folder_.Path().c_str()), 0);
  ChildRun run = OpenAndCollect("./bin/tool", "arg");
  ASSERT_TRUE(run.Found);
  EXPECT_EQ(run.Argv, (std::vector<std::string>{"./bin/tool", "arg"}));
  EXPECT_EQ(run.Cwd, folder_.Path());
}

TEST_F(PosixLauncherTest, DocumentGoesToXdgOpenWithoutTheParameters) {
  InstallMarker("xdg-open");
  PutBinFirstOnPath();
  const std::string document = folder_ / "work/notes.txt";
  WriteFile(document, "hello");
  ChildRun run = OpenAndCollect(document, "--ignored 'params'");
  ASSERT_TRUE(run.Found) << "xdg-open was not started";
  EXPECT_EQ(run.Argv, (std::vector<std::string>{"xdg-open", document}));
}

TEST_F(PosixLauncherTest, NamesThatAreNoProgramGoToXdgOpen) {
  InstallMarker("xdg-open");
  PutBinFirstOnPath();
  WriteFile(folder_ / "bin/not-executable", "#!/bin/sh\n");
  ASSERT_EQ(mkdir((folder_ / "work/-dir").c_str(), 0755), 0);
  struct Case {
    const char* Label;
    std::string File;
    std::string Argument;  // what xdg-open gets
  };
  const std::string absoluteDash = folder_ / "work/-x.txt";
  const Case cases[] = {
      {"a name on PATH without the exec bit", "not-executable", "not-executable"},
      {"a folder", folder_ / "bin", folder_ / "bin"},
      {"a missing file", folder_ / "work/missing.exe", folder_ / "work/missing.exe"},
      {"a URL", "https://example.invalid/x?a=1&b=2", "https://example.invalid/x?a=1&b=2"},
      {"a bare name not on PATH", "pellox-no-such-program", "pellox-no-such-program"},
      {"a relative name", "notes.txt", "notes.txt"},
      // Names xdg-open would take for its own options.
      {"--help", "--help", "./--help"},
      {"--version.txt", "--version.txt", "./--version.txt"},
      {"a lone dash", "-", "./-"},
      {"a dash folder", "-dir/notes.txt", "./-dir/notes.txt"},
      {"an absolute name with a dash", absoluteDash, absoluteDash},
  };
  for (const Case& c : cases) {
    std::remove(RecordPath().c_str());
    ChildRun run = OpenAndCollect(c.File, "p");
    ASSERT_TRUE(run.Found) << c.Label;
    EXPECT_EQ(run.Argv, (std::vector<std::string>{"xdg-open", c.Argument})) << c.Label;
  }
}

TEST_F(PosixLauncherTest, EmptyNameStartsNothing) {
  InstallMarker("xdg-open");
  PutBinFirstOnPath();
  launcher_.Open(nullptr, "", "some parameters");
  // Anything started would be a child until it ended and wrote its record.
  EXPECT_TRUE(AllChildrenGone());
  EXPECT_FALSE(Exists(RecordPath()));
}

TEST_F(PosixLauncherTest, MissingProgramWithoutXdgOpenDoesNothing) {
  setenv("PATH", (folder_ / "bin").c_str(), 1);  // nothing in it
  launcher_.Open(nullptr, folder_ / "work/missing.exe", "a b");
  launcher_.Open(nullptr, "pellox-no-such-program", "");
  EXPECT_TRUE(AllChildrenGone());
  EXPECT_FALSE(Exists(RecordPath()));
}

TEST_F(PosixLauncherTest, ExecutableThatCannotRunIsIgnored) {
  const std::string broken = folder_ / "bin/broken";
  WriteFile(broken,
            "\x7f"
            "ELF but not really");
  ASSERT_EQ(chmod(broken.c_str(), 0755), 0);
  launcher_.Open(nullptr, broken, "x");
  EXPECT_TRUE(AllChildrenGone());
  EXPECT_FALSE(Exists(RecordPath()));
}

TEST_F(PosixLauncherTest, OpenDoesNotWaitForTheProgram) {
  // The child blocks until the test removes the gate file, so Open can only
  // have returned without waiting.
  const std::string gate = folder_ / "gate";
  WriteFile(gate, "");
  setenv("PELLOX_CHILD_GATE", gate.c_str(), 1);
  launcher_.Open(nullptr, SelfPath(), "waiting");
  unsetenv("PELLOX_CHILD_GATE");
  EXPECT_FALSE(Exists(RecordPath()));
  EXPECT_EQ(ChildrenOfThisProcess().size(), 1u);
  std::remove(gate.c_str());
  EXPECT_TRUE(AllChildrenGone());
  EXPECT_EQ(ReadRecord(RecordPath()).Argv, (std::vector<std::string>{SelfPath(), "waiting"}));
}

TEST_F(PosixLauncherTest, ManyChildrenLeaveNoZombies) {
  for (int i = 0; i < 20; ++i) launcher_.Open(nullptr, SelfPath(), std::to_string(i));
  EXPECT_TRUE(AllChildrenGone());
}

size_t ThreadCount() {
  size_t count = 0;
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return 0;
  while (dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
  closedir(tasks);
  return count;
}

// "VmSize:" of /proc/self/status: the address space in kB.
std::string AddressSpace() {
  std::string status = ReadFile("/proc/self/status");
  size_t at = status.find("VmSize:");
  if (at == std::string::npos) return "?";
  return status.substr(at, status.find('\n', at) - at);
}

TEST_F(PosixLauncherTest, ProgramsGetTheEnvironmentTheLauncherWasGiven) {
  InstallMarker("pellox-marker");
  InstallMarker("xdg-open");
  const std::vector<std::string> given = {std::string(kRecordVariable) + "=" + RecordPath(),
                                          "PATH=" + folder_ / "bin", "PELLOX_USER_SETTING=kept"};
  PosixLauncher launcher(given);
  // What this process sets for itself afterwards is not passed on.
  setenv("QT_SCALE_FACTOR", "1", 1);
  setenv("PELLOX_USER_SETTING", "changed", 1);
  const struct {
    const char* Label;
    std::string File;
  } cases[] = {{"a program found on the given PATH", "pellox-marker"},
               {"a document for xdg-open from the given PATH", "notes.txt"}};
  for (const auto& c : cases) {
    std::remove(RecordPath().c_str());
    launcher.Open(nullptr, c.File, "");
    EXPECT_TRUE(AllChildrenGone()) << c.Label;
    ChildRun run = ReadRecord(RecordPath());
    ASSERT_TRUE(run.Found) << c.Label;
    EXPECT_EQ(run.Environment, given) << c.Label;
  }
  unsetenv("QT_SCALE_FACTOR");
  unsetenv("PELLOX_USER_SETTING");
}

TEST_F(PosixLauncherTest, FiveHundredRunningProgramsNeedNoThreadEach) {
  const size_t threadsBefore = ThreadCount();
  const std::string spaceBefore = AddressSpace();
  for (int i = 0; i < 500; ++i) launcher_.Open(nullptr, "sleep", "600");
  const std::vector<pid_t> children = ChildrenOfThisProcess();
  const size_t threads = ThreadCount();
  std::cout << "500 running programs: threads " << threadsBefore << " -> " << threads << "; "
            << spaceBefore << " -> " << AddressSpace() << "\n";
  EXPECT_EQ(children.size(), 500u);
  EXPECT_LE(threads, threadsBefore + 1);
  for (pid_t child : children) kill(child, SIGKILL);
  // Reaped whether watched by a descriptor or looked at once a second.
  EXPECT_TRUE(AllChildrenGone());
}

// Child side of the process-limit test, in a forked copy of this program
// under a user of its own: its exit code tells what went wrong.
enum LimitedRunResult {
  kLimitedRunOk = 0,
  kCannotDropPrivileges = 10,
  kLimitDidNotBite = 11,
  kNothingStarted = 12,
  kZombiesLeft = 13,
  kLaunchAfterLimitFailed = 14,
};

int LimitedRun(const std::string& recordPath) {
  const uid_t user = 60000 + static_cast<uid_t>(getpid() % 5000);
  if (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0) {
    return kCannotDropPrivileges;
  }
  // This process and three more: two programs and the reaper, or three
  // programs; every launch beyond that fails.
  const rlimit limit{4, 4};
  if (setrlimit(RLIMIT_NPROC, &limit) != 0) return kCannotDropPrivileges;
  PosixLauncher launcher;
  for (int i = 0; i < 10; ++i) launcher.Open(nullptr, "sleep", "600");
  std::vector<pid_t> children = ChildrenOfThisProcess();
  if (children.empty()) return kNothingStarted;
  if (children.size() >= 10) return kLimitDidNotBite;
  for (pid_t child : children) kill(child, SIGKILL);
  if (!WaitUntil([] { return ChildrenOfThisProcess().empty(); }, 30)) return kZombiesLeft;
  // With the limit free again, launching works as before.
  setenv(kRecordVariable, recordPath.c_str(), 1);
  launcher.Open(nullptr, SelfPath(), "after");
  if (!WaitUntil([&] { return Exists(recordPath) && ChildrenOfThisProcess().empty(); }, 30)) {
    return kLaunchAfterLimitFailed;
  }
  return kLimitedRunOk;
}

TEST_F(PosixLauncherTest, UnderAProcessLimitLaunchesFailQuietlyAndNoZombieStays) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run as a user of its own";
  // The child writes its record here as that user.
  ASSERT_EQ(chmod(folder_.Path().c_str(), 0777), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) _exit(LimitedRun(RecordPath()));
  int status = testing::WaitOrKill(pid, 120);
  ASSERT_NE(status, -1) << "the limited run hung";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kLimitedRunOk)
      << "10: cannot become another user; 11: the limit did not bite; 12: nothing started; "
         "13: zombies left; 14: no launch after the limit";
}

}  // namespace
}  // namespace pellox::testing

int main(int argc, char** argv) {
  if (const char* recordPath = std::getenv(pellox::testing::kRecordVariable)) {
    // Started by a test: wait for the gate to open (bounded), then record.
    if (const char* gate = std::getenv("PELLOX_CHILD_GATE")) {
      pellox::testing::WaitUntil([gate] { return !pellox::testing::Exists(gate); }, 20);
    }
    return pellox::testing::RecordThisRun(recordPath, argc, argv);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
