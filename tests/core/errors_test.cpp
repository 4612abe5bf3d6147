#include <gtest/gtest.h>

#include "common/errors.h"

namespace pellox::testing {
namespace {

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

// A code of the system's own numbering that the table does not know shows
// its number, even where a table code has the same number.
TEST(InOutErrorTest, AnUnlistedCodeShowsItsNumberAndAnErrorAfterTheReplaceSaysSo) {
  const EInOutError unlisted = EInOutError::Unlisted(5);
  EXPECT_EQ(unlisted.Message(), "I/O エラー (5)");
  EXPECT_EQ(unlisted.ErrorCode(), 5);
  EXPECT_FALSE(unlisted.ContentsReplaced());
  const EInOutError after = EInOutError(101).AfterReplace();
  EXPECT_TRUE(after.ContentsReplaced());
  EXPECT_EQ(after.Message(), "ディスクがいっぱいです");
  EXPECT_EQ(after.ErrorCode(), 101);
}

TEST(Win32ErrorTest, CodeAndTrimmedSystemTextOnTwoLines) {
  EXPECT_EQ(EWin32Error(5, "Access denied. \r\n").Message(),
            "Win32 エラー。コード : 5.\nAccess denied");
  EXPECT_EQ(EWin32Error(0xFFFFFFFFu, "x").Message(), "Win32 エラー。コード : -1.\nx");
  EXPECT_EQ(EWin32Error(0, "ignored").Message(), "Win32 API 呼び出しに失敗しました");
}

}  // namespace
}  // namespace pellox::testing
