// Error texts that join our Japanese messages with the system's own text
// reach the boxes intact, whatever the system's ANSI code page. ctest runs
// this program in the default locale and again under a Japanese (code page
// 932) and a French (code page 1252) Wine locale, naming the code page it
// expects in PELLOX_EXPECTED_ACP.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "common/errors.h"
#include "platform/win32/error_box.h"
#include "platform/windows/last_error.h"
#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using win32::ShowStartUpError;
using win32::ThrowLastWin32Error;

// ERROR_ACCESS_DENIED: its system text holds non-ASCII characters in both
// the Japanese and the French message tables.
constexpr DWORD kCode = ERROR_ACCESS_DENIED;

// The system's text for `code` as the wide function gives it, with the
// trailing blanks, control characters and full stops removed.
std::wstring WideSystemText(DWORD code) {
  wchar_t buffer[256];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, 256, nullptr);
  std::wstring text(buffer, length);
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
  return text;
}

// "Win32 エラー。コード : 5." and the system text on the next line.
std::wstring ExpectedMessage() {
  return L"Win32 \u30a8\u30e9\u30fc\u3002\u30b3\u30fc\u30c9 : 5.\n" + WideSystemText(kCode);
}

EWin32Error RaisedError() {
  SetLastError(kCode);
  try {
    ThrowLastWin32Error();
  } catch (const EWin32Error& error) {
    return error;
  }
  return EWin32Error(0, "");
}

// "アプリケーション エラー".
const std::wstring kStartUpCaption =
    L"\u30a2\u30d7\u30ea\u30b1\u30fc\u30b7\u30e7\u30f3 \u30a8\u30e9\u30fc";

class ErrorTextTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    Win32ProgramTest::SetUp();
    if (const char* expected = std::getenv("PELLOX_EXPECTED_ACP")) {
      // Run under a foreign locale: the case means something only when the
      // system text really is outside ASCII.
      ASSERT_EQ(std::strtoul(expected, nullptr, 10), GetACP());
      bool foreign = false;
      for (wchar_t c : WideSystemText(kCode)) foreign = foreign || c > 0x7F;
      ASSERT_TRUE(foreign) << "the system text of code 5 is plain ASCII here";
    }
  }
};

TEST_F(ErrorTextTest, TheErrorReportShowsOurTextAndTheSystemTextReadably) {
  ShowNormally();
  const EWin32Error error = RaisedError();
  const SeenBox box =
      ReadMessageBox(Main(), [&] { program_.Toolkit().ShowErrorBox("Pellox", error.Message()); });
  ASSERT_TRUE(box.Found);
  EXPECT_TRUE(box.Caption == L"Pellox");
  EXPECT_TRUE(box.Text == ExpectedMessage())
      << "code page " << GetACP() << ", box text of " << box.Text.size() << " characters";
}

TEST_F(ErrorTextTest, TheStartUpBoxShowsOurTextAndTheSystemTextReadably) {
  const EWin32Error error = RaisedError();
  const SeenBox box = ReadMessageBox(nullptr, [&] { ShowStartUpError(error); });
  ASSERT_TRUE(box.Found);
  EXPECT_TRUE(box.Caption == kStartUpCaption);
  // The system text ends in a letter: the standard error report's full stop.
  EXPECT_TRUE(box.Text == ExpectedMessage() + L".")
      << "code page " << GetACP() << ", box text of " << box.Text.size() << " characters";
}

// The start-up box's text follows the standard error report's rule, as on
// Linux: no full stop after ")", the out-of-memory text when memory ran out.
TEST_F(ErrorTextTest, TheStartUpBoxShowsTheErrorReportsText) {
  const struct {
    const char* Label;
    std::function<void()> Show;
    std::wstring Text;
  } cases[] = {
      {"a message ending in )", [] { ShowStartUpError(EInOutError::Unlisted(5)); },
       L"I/O \u30a8\u30e9\u30fc (5)"},
      {"memory ran out", [] { ShowStartUpError(std::bad_alloc()); },
       L"\u30e1\u30e2\u30ea\u304c\u4e0d\u8db3\u3057\u3066\u3044\u307e\u3059."},
  };
  for (const auto& c : cases) {
    const SeenBox box = ReadMessageBox(nullptr, c.Show);
    ASSERT_TRUE(box.Found) << c.Label;
    EXPECT_TRUE(box.Caption == kStartUpCaption) << c.Label;
    EXPECT_TRUE(box.Text == c.Text) << c.Label << ": " << box.Text.size() << " characters";
  }
}

}  // namespace
}  // namespace pellox::testing
