// The program's error boxes: the standard error report and the box of a
// failed start-up. Both take the core's UTF-8 texts and show them wide.
#pragma once

#include "platform/windows/win32_api.h"

#include <exception>
#include <string_view>

namespace pellox::win32 {

// A modal box with a stop icon and only an OK button, owned by `owner` (null
// for none), showing `text` under `caption`.
void ShowStopBox(HWND owner, std::string_view caption, std::string_view text);

// The box that ends a start-up which failed while the application or its
// window was being created: the standard error report's text of the error
// (ErrorReportTextOf) under "アプリケーション エラー".
void ShowStartUpError(const std::exception& error);

}  // namespace pellox::win32
