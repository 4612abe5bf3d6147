// Conversion between the core's UTF-8 messages and the system's wide
// characters. Messages are UTF-8 from the moment they are made (system texts
// are taken wide and converted once), so nothing here guesses an encoding.
#pragma once

#include <string>
#include <string_view>

namespace pellox::win32 {

// UTF-8 to UTF-16, for the wide-character message box; a byte sequence that
// is not UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

// UTF-16 to UTF-8.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace pellox::win32
