// Win32Launcher starting a real program through the shell.
#include "platform/win32/win32_launcher.h"

#include <gtest/gtest.h>

#include "win32_test_support.h"

namespace pellox::win32 {
namespace {

using testing::TempFolder;

class Win32LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableA("PELLOX_MARKER_DIR", folder_.Path().c_str()); }
  void TearDown() override { SetEnvironmentVariableA("PELLOX_MARKER_DIR", nullptr); }

  // The command line the one started marker saw.
  std::string MarkerCommandLine() {
    EXPECT_TRUE(testing::WaitFor([&] { return folder_.Files("*.done").size() == 1; }));
    const std::vector<std::string> done = folder_.Files("*.done");
    if (done.empty()) return std::string();
    const std::string text = testing::ReadWholeFile(folder_.File(done.front()));
    return text.substr(text.find('\n') + 1);
  }

  static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  }

  TempFolder folder_;
  Win32Launcher launcher_;
  const std::string marker_ = testing::OwnFolder() + "pellox_marker.exe";
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

}  // namespace
}  // namespace pellox::win32
