// Win32ProcessInfo: the module path and the command-line arguments.
#include "platform/windows/win32_process_info.h"

#include <gtest/gtest.h>

#include <cctype>

#include "common/text.h"
#include "temp_folder.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

using win32::Win32ProcessInfo;

TEST(Win32ProcessInfoTest, ModuleFileNameIsTheFullPathOfTheRunningProgram) {
  Win32ProcessInfo info;
  const std::string path = info.ModuleFileName();
  EXPECT_TRUE(Exists(path)) << path;
  EXPECT_EQ(':', path.at(1)) << path;
  EXPECT_EQ(OwnFolder(), FolderPart(path, info.PathSeparators()));
}

TEST(Win32ProcessInfoTest, SeparatorsAreBackslashAndColon) {
  EXPECT_EQ("\\:", Win32ProcessInfo().PathSeparators());
}

TEST(Win32ProcessInfoTest, ArgumentsOfTheOwnCommandLineLeaveOutTheProgram) {
  // The C runtime's own split of the same command line, for arguments
  // without quotes (ctest passes --gtest_filter and the like).
  std::vector<std::string> expected(__argv + 1, __argv + __argc);
  EXPECT_EQ(expected, Win32ProcessInfo().Arguments());
}

struct SplitCase {
  const char* Label;
  const char* CommandLine;
  std::vector<std::string> Arguments;
};

class Win32CommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Win32CommandLineTest, SplitsLikeTheProgramExpects) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(c.Arguments, Win32ProcessInfo(c.CommandLine).Arguments()) << c.Label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Win32CommandLineTest,
    ::testing::Values(
        SplitCase{"program name only", "pellox.exe", {}},
        SplitCase{"quoted program with blanks skipped", "\"C:\\Program Files\\pellox.exe\"", {}},
        SplitCase{"quoted list path with blanks",
                  "\"C:\\Program Files\\pellox.exe\" \"D:\\my lists\\run.lst\"",
                  {"D:\\my lists\\run.lst"}},
        SplitCase{"further arguments kept after the first",
                  "pellox.exe a.lst b.lst  c",
                  {"a.lst", "b.lst", "c"}},
        SplitCase{"runs of blanks and tabs", "pellox.exe \t  a.lst\t", {"a.lst"}},
        SplitCase{"quotes inside an argument dropped",
                  "pellox.exe D:\\\"my lists\"\\x.lst",
                  {"D:\\my lists\\x.lst"}}),
    [](const ::testing::TestParamInfo<SplitCase>& test) {
      std::string name;
      for (const char* c = test.param.Label; *c; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
      }
      return name;
    });

}  // namespace
}  // namespace pellox::testing
