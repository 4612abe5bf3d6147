#include <gtest/gtest.h>

#include "app/command_line.h"
#include "common/errors.h"
#include "common/text.h"

namespace pellox {
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

TEST(InOutErrorTest, MessageFollowsTheCode) {
  EXPECT_EQ(EInOutError(2).Message(), "ファイルが見つかりません");
  EXPECT_EQ(EInOutError(3).Message(), "不正なファイル名です");
  EXPECT_EQ(EInOutError(4).Message(), "オープンしたファイルが多すぎます");
  EXPECT_EQ(EInOutError(5).Message(), "ファイルへのアクセスが拒否されました");
  EXPECT_EQ(EInOutError(100).Message(), "ファイルの末尾以降を読み込みました");
  EXPECT_EQ(EInOutError(101).Message(), "ディスクがいっぱいです");
  EXPECT_EQ(EInOutError(106).Message(), "入力値が数値ではありません");
  EXPECT_EQ(EInOutError(36).Message(), "I/O エラー (36)");
  EXPECT_EQ(EInOutError(36).ErrorCode(), 36);
}

TEST(Win32ErrorTest, CodeAndTrimmedSystemTextOnTwoLines) {
  EXPECT_EQ(EWin32Error(5, "Access denied. \r\n").Message(),
            "Win32 エラー。コード : 5.\nAccess denied");
  EXPECT_EQ(EWin32Error(0xFFFFFFFFu, "x").Message(), "Win32 エラー。コード : -1.\nx");
  EXPECT_EQ(EWin32Error(0, "ignored").Message(), "Win32 API 呼び出しに失敗しました");
}

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
}  // namespace pellox
