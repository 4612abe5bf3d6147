// Error classes of the core. System-independent code only: the messages are
// UTF-8 texts; the front ends convert them where their platform needs it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace pellox {

// Base of every error the program raises itself. An error that leaves an
// event handler reaches the standard error report with Message() as its text.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The input/output error codes that have a text of their own (Windows
// numbering, which the Linux layer maps errno onto).
namespace in_out {
enum Code : int {
  kFileNotFound = 2,
  kPathNotFound = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kReadBeyondEnd = 100,
  kDiskFull = 101,
  kInvalidNumber = 106,
};
}  // namespace in_out

// An input/output failure with the system's error code (Windows numbering;
// the Linux layer maps errno onto it). The message follows from the code.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int code);
  // A code of the system's own numbering that has no counterpart in the
  // table (an errno without a Windows code): the numbered message whatever
  // the number, never another code's text.
  static EInOutError Unlisted(int code);

  int ErrorCode() const { return code_; }
  static std::string MessageFor(int code);

  // The same error, raised after the new contents had already taken the
  // file's place (making that last failed): the file holds what was saved.
  EInOutError AfterReplace() const;
  bool ContentsReplaced() const { return contentsReplaced_; }

 private:
  EInOutError(int code, std::string message);

  int code_;
  bool contentsReplaced_ = false;
};

// The printer layer's own errors ("no default printer", "index out of range").
class EPrinter : public Exception {
 public:
  using Exception::Exception;
};

// A failed platform call, with its last-error code and the system's text for
// it (trailing blanks, control characters and full stops are removed here).
class EWin32Error : public Exception {
 public:
  EWin32Error(uint32_t code, const std::string& systemText);
  uint32_t ErrorCode() const { return code_; }

 private:
  uint32_t code_;
};

namespace messages {
inline constexpr const char* kNoDefaultPrinter = "デフォルト プリンタが存在しません";
inline constexpr const char* kPrinterIndexOutOfRange = "プリンタ番号が範囲を超えています";
inline constexpr const char* kWin32CallFailed = "Win32 API 呼び出しに失敗しました";
// The text of the error report when memory runs out.
inline constexpr const char* kOutOfMemory = "メモリが不足しています";
// The caption of the box that reports an error raised before the main
// window exists.
inline constexpr const char* kStartupErrorCaption = "アプリケーション エラー";
}  // namespace messages

// The text of the standard error report for `error`: ErrorReportText of
// its message, of kOutOfMemory when memory ran out. Both the report of an
// error that left an event handler and the box of a failed start-up show
// this text.
std::string ErrorReportTextOf(const std::exception& error);

// Every text that an error box of the program can show besides file names
// and the system's own texts: the messages of the errors above (the number
// in a text that holds one stands for any) and the start-up box's caption.
// What the fonts of a system must be able to draw.
std::vector<std::string> MessageTexts();

}  // namespace pellox
