#include <gtest/gtest.h>

#include "common/text.h"

namespace pellox::testing {
namespace {

TEST(ErrorReportTextTest, AppendsAFullStopByTheByteRule) {
  struct Case {
    const char* message;
    const char* text;
  } cases[] = {
      {"", ""},
      {"abc", "abc."},
      {"I/O エラー (103)", "I/O エラー (103)"},  // ")" sorts before "."
      {"ファイルが見つかりません", "ファイルが見つかりません."},
      {"done.", "done."},
      {"ends in -", "ends in -"},
      {"ends in /", "ends in /."},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorReportText(c.message), c.text) << c.message;
}

TEST(FolderPartTest, KeepsEverythingUpToTheLastSeparator) {
  EXPECT_EQ(FolderPart("/home/a b/list.lst", "/"), "/home/a b/");
  EXPECT_EQ(FolderPart("list.lst", "/"), "");
  EXPECT_EQ(FolderPart("C:\\Tools\\x.exe", "\\:"), "C:\\Tools\\");
  EXPECT_EQ(FolderPart("C:x.exe", "\\:"), "C:");
  EXPECT_EQ(FolderPart("/", "/"), "/");
}

}  // namespace
}  // namespace pellox::testing
