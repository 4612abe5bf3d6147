#include "platform/win32/error_box.h"

#include "common/errors.h"
#include "platform/windows/text_conversion.h"

namespace pellox::win32 {

void ShowStopBox(HWND owner, std::string_view caption, std::string_view text) {
  MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(),
              MB_ICONSTOP | MB_OK);
}

void ShowStartUpError(const std::exception& error) {
  ShowStopBox(nullptr, messages::kStartupErrorCaption, ErrorReportTextOf(error));
}

}  // namespace pellox::win32
