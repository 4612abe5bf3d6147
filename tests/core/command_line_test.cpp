#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace pellox::testing {
namespace {

TEST(SplitCommandLineTest, SkipsTheProgramAndHonoursQuotes) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(SplitCommandLine("pellox.exe"), Args{});
  EXPECT_EQ(SplitCommandLine("pellox.exe list.lst"), Args{"list.lst"});
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\pellox.exe\" \"C:\\My Lists\\a b.lst\" x"),
            (Args{"C:\\My Lists\\a b.lst", "x"}));
  EXPECT_EQ(SplitCommandLine("p  \t a\"b c\"d \x01 e"), (Args{"ab cd", "e"}));
  EXPECT_EQ(SplitCommandLine("   "), Args{});
}

}  // namespace
}  // namespace pellox::testing
