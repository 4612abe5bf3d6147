// The launcher against real processes. The test program doubles as the
// started program: with PELLOX_CHILD_RECORD set it only writes down its
// pid, current folder and arguments to that file and ends.
#include "platform/linux/posix_launcher.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "temp_folder.h"

namespace pellox {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::TempFolder;
using testing::WaitUntil;
using testing::WriteFile;

constexpr const char* kRecordVariable = "PELLOX_CHILD_RECORD";

// Child side: "<pid>\0<cwd>\0<argv0>\0<argv1>\0...", written under another
// name and renamed, so a reader sees all of it or nothing.
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
  const std::string partPath = std::string(recordPath) + ".part";
  std::ofstream(partPath, std::ios::binary) << record;
  return std::rename(partPath.c_str(), recordPath) == 0 ? 0 : 3;
}

struct ChildRun {
  bool Found = false;
  pid_t Pid = 0;
  std::string Cwd;
  std::vector<std::string> Argv;
};

ChildRun ReadRecord(const std::string& path) {
  ChildRun run;
  std::string record = ReadFile(path, &run.Found);
  if (!run.Found) return run;
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t nul; (nul = record.find('\0', start)) != std::string::npos; start = nul + 1) {
    fields.push_back(record.substr(start, nul - start));
  }
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
  struct Case {
    const char* Label;
    std::string File;
  };
  const Case cases[] = {
      {"a name on PATH without the exec bit", "not-executable"},
      {"a folder", folder_ / "bin"},
      {"a missing file", folder_ / "work/missing.exe"},
      {"a URL", "https://example.invalid/x?a=1&b=2"},
      {"a bare name not on PATH", "pellox-no-such-program"},
  };
  for (const Case& c : cases) {
    std::remove(RecordPath().c_str());
    ChildRun run = OpenAndCollect(c.File, "p");
    ASSERT_TRUE(run.Found) << c.Label;
    EXPECT_EQ(run.Argv, (std::vector<std::string>{"xdg-open", c.File})) << c.Label;
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

}  // namespace
}  // namespace pellox

int main(int argc, char** argv) {
  if (const char* recordPath = std::getenv(pellox::kRecordVariable)) {
    // Started by a test: wait for the gate to open (bounded), then record.
    if (const char* gate = std::getenv("PELLOX_CHILD_GATE")) {
      pellox::testing::WaitUntil([gate] { return !pellox::testing::Exists(gate); }, 20);
    }
    return pellox::RecordThisRun(recordPath, argc, argv);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
