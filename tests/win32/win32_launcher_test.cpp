// Win32Launcher starting a real program through the shell.
#include "platform/windows/win32_launcher.h"

#include <gtest/gtest.h>

#include "temp_folder.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

using win32::Win32Launcher;

class Win32LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableA("PELLOX_MARKER_DIR", folder_.Path().c_str()); }
  void TearDown() override { SetEnvironmentVariableA("PELLOX_MARKER_DIR", nullptr); }

  // The command line the one started marker saw.
  std::string MarkerCommandLine() {
    EXPECT_TRUE(WaitFor([&] { return MarkerStarts(folder_.Path()).size() == 1; }));
    const std::vector<MarkerStart> starts = MarkerStarts(folder_.Path());
    return starts.empty() ? std::string() : starts.front().CommandLine;
  }

  static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  }

  TempFolder folder_;
  Win32Launcher launcher_;
  const std::string marker_ = OwnFolder() + "pellox_marker.exe";
};

TEST_F(Win32LauncherTest, StartsTheProgramWithTheParameterTextUnchanged) {
  const std::string parameters = "first \"two words\"  third $HOME;x";
  launcher_.Open(nullptr, marker_, parameters);
  const std::string commandLine = MarkerCommandLine();
  EXPECT_TRUE(EndsWith(commandLine, " " + parameters)) << commandLine;
  EXPECT_NE(std::string::npos, commandLine.find("pellox_marker.exe")) << commandLine;
}

TEST_F(Win32LauncherTest, AnEmptyParameterAddsNothing) {
  launcher_.Open(nullptr, marker_, "");
  const std::string commandLine = MarkerCommandLine();
  EXPECT_TRUE(EndsWith(commandLine, "pellox_marker.exe") ||
              EndsWith(commandLine, "pellox_marker.exe\"") ||
              EndsWith(commandLine, "pellox_marker.exe "))
      << commandLine;
}

// Names longer than the shell takes never reach it: Wine's ShellExecuteA
// crashes the process on a name of about 1,000 characters.
TEST_F(Win32LauncherTest, NamesTooLongForTheShellAreAFailedLaunchAndTheNextStartWorks) {
  for (size_t length : {size_t{1000}, size_t{5000}}) {
    launcher_.Open(nullptr, "C:\\" + std::string(length - 3, 'a'), "x");
  }
  launcher_.Open(nullptr, marker_, "after");
  const std::string commandLine = MarkerCommandLine();
  EXPECT_TRUE(EndsWith(commandLine, " after")) << commandLine;
}

TEST_F(Win32LauncherTest, TheLongestPathTheSystemTakesStillStartsItsProgram) {
  std::string path = folder_ / "";
  path += std::string(MAX_PATH - 1 - path.size() - 4, 'm') + ".exe";
  ASSERT_EQ(size_t{MAX_PATH - 1}, path.size());
  ASSERT_TRUE(CopyFileA(marker_.c_str(), path.c_str(), FALSE));
  launcher_.Open(nullptr, path, "longest");
  const std::string commandLine = MarkerCommandLine();
  EXPECT_TRUE(EndsWith(commandLine, " longest")) << commandLine;
}

TEST(Win32LauncherNameTest, TheShellTakesNamesOfAtMostMaxPathMinusOneCharacters) {
  struct Case {
    const char* Label;
    std::string Name;
    bool Fits;
  };
  const Case cases[] = {
      {"empty", "", true},
      {"MAX_PATH - 1", std::string(MAX_PATH - 1, 'a'), true},
      {"MAX_PATH", std::string(MAX_PATH, 'a'), false},
      {"1,000", std::string(1000, 'a'), false},
      {"5,000", std::string(5000, 'a'), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.Fits, Win32Launcher::NameFitsTheShell(c.Name)) << c.Label;
  }
}

}  // namespace
}  // namespace pellox::testing
