// Conversion of the core's UTF-8 messages for the wide-character message box.
#pragma once

#include <string>
#include <string_view>

namespace pellox::win32 {

// UTF-8 to UTF-16; a text that is not valid UTF-8 (a system message in the
// ANSI code page, say) is read in the ANSI code page instead.
std::wstring WideFromUtf8(std::string_view text);

}  // namespace pellox::win32
