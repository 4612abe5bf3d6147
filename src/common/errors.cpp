#include "common/errors.h"

#include <new>

#include "common/text.h"

namespace pellox {

namespace {

std::string NumberedMessage(int code) { return "I/O エラー (" + std::to_string(code) + ")"; }

struct InOutText {
  int Code;
  const char* Text;
};

// The input/output codes with a text of their own.
constexpr InOutText kInOutTexts[] = {
    {in_out::kFileNotFound, "ファイルが見つかりません"},
    {in_out::kPathNotFound, "不正なファイル名です"},
    {in_out::kTooManyOpenFiles, "オープンしたファイルが多すぎます"},
    {in_out::kAccessDenied, "ファイルへのアクセスが拒否されました"},
    {in_out::kReadBeyondEnd, "ファイルの末尾以降を読み込みました"},
    {in_out::kDiskFull, "ディスクがいっぱいです"},
    {in_out::kInvalidNumber, "入力値が数値ではありません"},
};

}  // namespace

std::string EInOutError::MessageFor(int code) {
  for (const InOutText& entry : kInOutTexts) {
    if (entry.Code == code) return entry.Text;
  }
  return NumberedMessage(code);
}

EInOutError::EInOutError(int code) : EInOutError(code, MessageFor(code)) {}

EInOutError::EInOutError(int code, std::string message)
    : Exception(std::move(message)), code_(code) {}

EInOutError EInOutError::Unlisted(int code) { return EInOutError(code, NumberedMessage(code)); }

EInOutError EInOutError::AfterReplace() const {
  EInOutError error = *this;
  error.contentsReplaced_ = true;
  return error;
}

namespace {

std::string Win32Message(uint32_t code, std::string systemText) {
  if (code == 0) return messages::kWin32CallFailed;
  while (!systemText.empty()) {
    unsigned char last = static_cast<unsigned char>(systemText.back());
    if (last > ' ' && last != '.') break;
    systemText.pop_back();
  }
  return "Win32 エラー。コード : " + std::to_string(static_cast<int32_t>(code)) + ".\n" +
         systemText;
}

}  // namespace

EWin32Error::EWin32Error(uint32_t code, const std::string& systemText)
    : Exception(Win32Message(code, systemText)), code_(code) {}

std::string ErrorReportTextOf(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
    return ErrorReportText(messages::kOutOfMemory);
  }
  return ErrorReportText(error.what());
}

std::vector<std::string> MessageTexts() {
  std::vector<std::string> texts;
  for (const InOutText& entry : kInOutTexts) texts.emplace_back(entry.Text);
  texts.push_back(EInOutError::MessageFor(0));
  texts.push_back(EWin32Error(0, "").Message());
  texts.push_back(EWin32Error(5, "").Message());
  for (const char* text : {messages::kNoDefaultPrinter, messages::kPrinterIndexOutOfRange,
                           messages::kOutOfMemory, messages::kStartupErrorCaption}) {
    texts.emplace_back(text);
  }
  return texts;
}

}  // namespace pellox
