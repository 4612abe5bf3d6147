// `pellox --help` and `pellox --version`: the real program answers on
// standard output and ends with status 0 before Qt starts, so no display is
// needed (started without one, Qt would end the program with SIGABRT).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "temp_folder.h"

namespace pellox::testing {
namespace {

struct Answer {
  int ExitStatus = -1;
  std::string Output;  // standard output
  std::string Errors;  // standard error
};

// Runs the program with `arguments` and no display; standard output goes
// to `outputTo` (a file of the test's when empty).
Answer RunWithoutDisplay(const std::string& arguments, const std::string& outputTo = "") {
  TempFolder folder;
  const std::string output = outputTo.empty() ? folder / "stdout" : outputTo;
  const std::string command =
      "exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" PELLOX_BINARY "' " + arguments +
      " >'" + output + "'";
  CommandResult run = RunCommand({"/bin/sh", "-c", command}, 30);
  EXPECT_TRUE(run.Started && !run.TimedOut) << arguments;
  return {run.ExitStatus, outputTo.empty() ? ReadFile(output) : "", run.Output};
}

TEST(StandardOptionsTest, VersionPrintsTheNameAndVersion) {
  for (const std::string arguments : {"--version", "--version --help", "--version list.lst"}) {
    SCOPED_TRACE(arguments);
    Answer answer = RunWithoutDisplay(arguments);
    EXPECT_EQ(answer.ExitStatus, 0);
    EXPECT_EQ(answer.Output, "pellox " PELLOX_VERSION "\n");
    EXPECT_EQ(answer.Errors, "");
  }
}

TEST(StandardOptionsTest, HelpPrintsTheUsage) {
  for (const std::string arguments : {"--help", "--help --version"}) {
    SCOPED_TRACE(arguments);
    Answer answer = RunWithoutDisplay(arguments);
    EXPECT_EQ(answer.ExitStatus, 0);
    EXPECT_TRUE(answer.Output.starts_with("Usage: pellox [LIST_FILE]\n")) << answer.Output;
    for (const char* part : {"--help", "--version", "./-name",
                             "Exit status:", " 0  the list ran, or the window was closed\n",
                             "Full documentation: man pellox\n"}) {
      EXPECT_NE(answer.Output.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(answer.Errors, "");
  }
}

// An answer that cannot be written is an error, not a success.
TEST(StandardOptionsTest, AnAnswerThatCannotBeWrittenEndsWithStatusOne) {
  for (const std::string arguments : {"--help", "--version"}) {
    SCOPED_TRACE(arguments);
    Answer answer = RunWithoutDisplay(arguments, "/dev/full");
    EXPECT_EQ(answer.ExitStatus, 1);
    EXPECT_EQ(answer.Errors, "pellox: write error\n");
  }
}

}  // namespace
}  // namespace pellox::testing
