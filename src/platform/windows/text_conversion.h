// Conversion between the core's texts and the system's wide characters:
// UTF-8 for messages (system texts are taken wide and converted once), the
// system's 8-bit code page for everything else the window holds. Each
// caller names the encoding; nothing here guesses it.
#pragma once

#include <string>
#include <string_view>

namespace pellox::win32 {

// UTF-8 to UTF-16, for the wide-character message box; a byte sequence that
// is not UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

// 8-bit text in the system's code page (CP_ACP: cells, fields, captions)
// to UTF-16, for the wide interfaces of assistive technology.
std::wstring WideFromAnsi(std::string_view text);

// UTF-16 to UTF-8.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace pellox::win32
