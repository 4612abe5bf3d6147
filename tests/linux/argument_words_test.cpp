#include "platform/linux/argument_words.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace pellox::testing {
namespace {

struct WordsCase {
  const char* Label;
  std::string Text;
  std::vector<std::string> Words;
};

const std::vector<WordsCase>& Cases() {
  static const std::vector<WordsCase> cases = {
      {"empty text", "", {}},
      {"only blanks", " \t \n ", {}},
      {"one word", "quiet", {"quiet"}},
      {"plain words", "/quiet -x file.txt", {"/quiet", "-x", "file.txt"}},
      {"runs of blanks and tabs", "  a \t\t b\n c  ", {"a", "b", "c"}},
      {"single quotes group", "'two words' three", {"two words", "three"}},
      {"single quotes keep backslash and double quote", R"('a\b"c')", {R"(a\b"c)"}},
      {"double quotes group", R"("two words")", {"two words"}},
      {"double quotes keep single quote", R"("it's")", {"it's"}},
      {"backslash escapes in double quotes", R"("a\"b\\c\$d\`e")", {R"(a"b\c$d`e)"}},
      {"other backslash in double quotes stays", R"("a\nb\x")", {R"(a\nb\x)"}},
      {"backslash escapes a blank", R"(a\ b c)", {"a b", "c"}},
      {"backslash escapes a quote", R"(\"x\')", {R"("x')"}},
      {"backslash escapes a backslash", R"(a\\b)", {R"(a\b)"}},
      {"backslash newline joins", "ab\\\ncd", {"abcd"}},
      {"trailing lone backslash stays", R"(end\)", {R"(end\)"}},
      {"quotes join with letters", R"(pre'mid dle'"post fix"end)", {"premid dlepost fixend"}},
      {"empty single quotes give an empty word", "a '' b", {"a", "", "b"}},
      {"empty double quotes give an empty word", R"("")", {""}},
      {"command substitution is text", "$(echo x)", {"$(echo", "x)"}},
      {"quoted command substitution is one word", R"x("$(touch pwned)")x", {"$(touch pwned)"}},
      {"variable is text", "$HOME ${PATH}", {"$HOME", "${PATH}"}},
      {"semicolon is text", "a; rm -rf x", {"a;", "rm", "-rf", "x"}},
      {"pipe is text", "a | b", {"a", "|", "b"}},
      {"backquotes are text", "`id` x", {"`id`", "x"}},
      {"globs are text", "*.txt ? [ab]", {"*.txt", "?", "[ab]"}},
      {"redirections are text", "> out 2>&1 < in", {">", "out", "2>&1", "<", "in"}},
      {"ampersand and hash are text", "a & #b", {"a", "&", "#b"}},
      {"tilde is text", "~/x ~", {"~/x", "~"}},
      {"unterminated single quote runs to the end", "a 'b c", {"a", "b c"}},
      {"unterminated double quote runs to the end", R"(a "b c\")", {"a", R"(b c")"}},
      {"eight-bit bytes pass", "\x83\x65 \xff", {"\x83\x65", "\xff"}},
  };
  return cases;
}

class ArgumentWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(ArgumentWordsTest, SplitsLikeTheShellWithoutExpansion) {
  const WordsCase& c = GetParam();
  EXPECT_EQ(SplitArgumentWords(c.Text), c.Words) << c.Label << ": [" << c.Text << "]";
}

INSTANTIATE_TEST_SUITE_P(Table, ArgumentWordsTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<WordsCase>& test) {
                           std::string name;
                           for (const char* p = test.param.Label; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(ArgumentWordsTest, NulByteInsideTextIsKept) {
  const std::string text("a\0b c", 5);
  EXPECT_EQ(SplitArgumentWords(text), (std::vector<std::string>{std::string("a\0b", 3), "c"}));
}

}  // namespace
}  // namespace pellox::testing
