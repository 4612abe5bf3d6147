// The one conversion between the program's byte texts and Qt strings. Texts
// are 8-bit and passed on unchanged, but Qt's widgets hold UTF-16: valid
// UTF-8 is decoded as usual, and every byte that is not part of valid UTF-8
// becomes a code point of its own in a private-use range, U+EF80 to U+EFFF
// for the bytes 0x80 to 0xFF. Encoding gives those code points back as their
// bytes and everything else as UTF-8, so a text that went into a widget
// comes back byte for byte, and what the user types comes back as UTF-8.
// A valid UTF-8 sequence of a code point in that range is stored byte by
// byte as well, so that it too comes back unchanged.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pellox {

QString ToQString(std::string_view bytes);
std::string ToBytes(const QString& text);

// The code point that stands for a byte that is not valid UTF-8 (0x80 to
// 0xFF).
constexpr char32_t kRawByteBase = 0xEF00;

}  // namespace pellox
