#include "platform/linux/linux_process_info.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace pellox::testing {
namespace {

TEST(LinuxProcessInfoTest, ArgumentsAreTheOnesAfterTheProgramName) {
  std::vector<std::string> storage = {"/usr/bin/pellox", "list one.lst", "", "third"};
  std::vector<char*> argv;
  for (std::string& s : storage) argv.push_back(s.data());
  argv.push_back(nullptr);
  LinuxProcessInfo info(static_cast<int>(storage.size()), argv.data());
  EXPECT_EQ(info.Arguments(), (std::vector<std::string>{"list one.lst", "", "third"}));
}

TEST(LinuxProcessInfoTest, NoArgumentsBesideTheProgramName) {
  char name[] = "pellox";
  char* argv[] = {name, nullptr};
  EXPECT_TRUE(LinuxProcessInfo(1, argv).Arguments().empty());
}

TEST(LinuxProcessInfoTest, ModuleFileNameIsThisTestProgram) {
  char name[] = "whatever";
  char* argv[] = {name, nullptr};
  char real[PATH_MAX];
  ASSERT_NE(realpath("/proc/self/exe", real), nullptr);
  EXPECT_EQ(LinuxProcessInfo(1, argv).ModuleFileName(), std::string(real));
}

TEST(LinuxProcessInfoTest, PathSeparatorIsSlash) {
  char name[] = "pellox";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(LinuxProcessInfo(1, argv).PathSeparators(), "/");
}

}  // namespace
}  // namespace pellox::testing
