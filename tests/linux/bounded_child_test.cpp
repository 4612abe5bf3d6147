// RunBounded against real programs that end, never end, flood their output,
// close it and go on, or cannot be started: the call comes back by its
// deadline with at most its size of output, and no program is left running.
#include "platform/linux/bounded_child.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "child_process.h"
#include "temp_folder.h"

namespace pellox::testing {
namespace {

using Clock = std::chrono::steady_clock;
using End = BoundedOutput::End;

constexpr auto kDeadline = std::chrono::milliseconds(500);
constexpr size_t kMaxBytes = 1000;

TEST(BoundedChildTest, EndsByTheDeadlineWithAtMostTheSizeAndNoProgramLeft) {
  TempFolder folder;
  const std::string pidFile = folder / "pid";
  // Each script first notes its pid (for the check that it is gone).
  const std::string notePid = "echo $$ > '" + pidFile + "'; ";
  const struct {
    const char* Label;
    std::string Script;
    End How;
    std::string Output;  // empty: only the size is checked
  } cases[] = {
      {"ends", notePid + "printf 'a\\0b'", End::Finished, std::string("a\0b", 3)},
      {"never ends", notePid + "printf partial; exec sleep 600", End::TimedOut, "partial"},
      {"floods", notePid + "exec yes", End::TooLong, ""},
      {"closes its output and goes on", notePid + "exec sleep 600 >&-", End::Finished, ""},
  };
  ChildReaper reaper;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    std::remove(pidFile.c_str());
    const auto start = Clock::now();
    BoundedOutput result =
        RunBounded("/bin/sh", {"-c", c.Script}, start + kDeadline, kMaxBytes, reaper);
    // Generous for a loaded machine; a program that is not ended takes ten
    // minutes.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(result.How, c.How);
    if (c.How == End::TooLong) {
      EXPECT_EQ(result.Output.size(), kMaxBytes + 1);
    } else {
      EXPECT_EQ(result.Output, c.Output);
    }
    ASSERT_TRUE(WaitUntil([&] { return Exists(pidFile); }, 10));
    const pid_t pid = std::atoi(ReadFile(pidFile).c_str());
    ASSERT_GT(pid, 0);
    // Ended and collected: no such process, not even a zombie.
    EXPECT_TRUE(WaitUntil([&] { return kill(pid, 0) != 0 && errno == ESRCH; }, 10));
  }
}

TEST(BoundedChildTest, AProgramThatCannotStartSaysWhy) {
  ChildReaper reaper;
  TempFolder folder;
  BoundedOutput result =
      RunBounded(folder / "missing", {}, Clock::now() + kDeadline, kMaxBytes, reaper);
  EXPECT_EQ(result.How, End::NotStarted);
  EXPECT_EQ(result.Error, ENOENT);
  EXPECT_TRUE(result.Output.empty());
}

}  // namespace
}  // namespace pellox::testing
