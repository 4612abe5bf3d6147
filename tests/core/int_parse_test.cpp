#include "common/int_parse.h"

#include <gtest/gtest.h>

#include <optional>

namespace pellox::testing {
namespace {

struct ParseCase {
  const char* label;
  const char* text;
  std::optional<int32_t> expected;
};

class ParseInt32Test : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseInt32Test, AcceptsExactlyTheSharedForms) {
  const ParseCase& c = GetParam();
  EXPECT_EQ(ParseInt32(c.text), c.expected) << c.label << ": \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseInt32Test,
    ::testing::Values(ParseCase{"plain decimal", "12", 12}, ParseCase{"plus sign", "+12", 12},
                      ParseCase{"minus sign", "-3", -3}, ParseCase{"leading blanks", "   12", 12},
                      ParseCase{"leading zeros", "007", 7}, ParseCase{"zero", "0", 0},
                      ParseCase{"largest", "2147483647", 2147483647},
                      ParseCase{"smallest", "-2147483648", INT32_MIN},
                      ParseCase{"dollar hex", "$10", 16}, ParseCase{"x hex", "x1E", 30},
                      ParseCase{"X hex", "X1e", 30}, ParseCase{"0x hex", "0x1E", 30},
                      ParseCase{"0X hex", "0X1e", 30}, ParseCase{"hex all ones", "$FFFFFFFF", -1},
                      ParseCase{"hex sign bit", "0x80000000", INT32_MIN},
                      ParseCase{"hex leading zeros", "$000000010", 16},
                      ParseCase{"blanks before hex", "  $10", 16},
                      // Rejections.
                      ParseCase{"empty", "", std::nullopt},
                      ParseCase{"blanks only", "   ", std::nullopt},
                      ParseCase{"sign without digits", "-", std::nullopt},
                      ParseCase{"plus without digits", "+", std::nullopt},
                      ParseCase{"prefix without digits", "$", std::nullopt},
                      ParseCase{"0x without digits", "0x", std::nullopt},
                      ParseCase{"sign before hex", "-0x2", std::nullopt},
                      ParseCase{"plus before hex", "+$2", std::nullopt},
                      ParseCase{"trailing blank", "12 ", std::nullopt},
                      ParseCase{"tab before digits", "\t12", std::nullopt},
                      ParseCase{"decimal point", "1.5", std::nullopt},
                      ParseCase{"letters", "abc", std::nullopt},
                      ParseCase{"digits then letters", "2x", std::nullopt},
                      ParseCase{"above range", "2147483648", std::nullopt},
                      ParseCase{"below range", "-2147483649", std::nullopt},
                      ParseCase{"hex above 32 bits", "$100000000", std::nullopt},
                      ParseCase{"FFFFFFFF without prefix", "FFFFFFFF", std::nullopt},
                      ParseCase{"huge decimal", "99999999999999999999", std::nullopt},
                      ParseCase{"blank between sign and digits", "- 3", std::nullopt},
                      ParseCase{"bad hex digit", "$1G", std::nullopt}));

TEST(ParseNumberTokenTest, TakesNoLeadingBlanks) {
  EXPECT_EQ(ParseNumberToken("2"), 2);
  EXPECT_EQ(ParseNumberToken(" 2"), std::nullopt);
}

}  // namespace
}  // namespace pellox::testing
