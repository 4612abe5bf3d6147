#include "common/errors.h"

namespace pellox {

namespace {

std::string NumberedMessage(int code) { return "I/O エラー (" + std::to_string(code) + ")"; }

}  // namespace

std::string EInOutError::MessageFor(int code) {
  switch (code) {
    case in_out::kFileNotFound:
      return "ファイルが見つかりません";
    case in_out::kPathNotFound:
      return "不正なファイル名です";
    case in_out::kTooManyOpenFiles:
      return "オープンしたファイルが多すぎます";
    case in_out::kAccessDenied:
      return "ファイルへのアクセスが拒否されました";
    case in_out::kReadBeyondEnd:
      return "ファイルの末尾以降を読み込みました";
    case in_out::kDiskFull:
      return "ディスクがいっぱいです";
    case in_out::kInvalidNumber:
      return "入力値が数値ではありません";
    default:
      return NumberedMessage(code);
  }
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

}  // namespace pellox
