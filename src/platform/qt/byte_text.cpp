#include "platform/qt/byte_text.h"

#include <QList>
#include <optional>

namespace pellox {

namespace {

constexpr char32_t kFirstRawByte = kRawByteBase + 0x80;
constexpr char32_t kLastRawByte = kRawByteBase + 0xFF;

bool IsRawByte(char32_t code) { return code >= kFirstRawByte && code <= kLastRawByte; }
bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

struct Decoded {
  char32_t Code;
  size_t Length;
};

// The code point of the well-formed UTF-8 sequence at `at` (no overlong
// forms, no surrogates, nothing above U+10FFFF), or nothing.
std::optional<Decoded> DecodeOne(std::string_view bytes, size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  size_t length = 0;
  char32_t code = 0;
  char32_t least = 0;
  if (lead < 0x80) return Decoded{lead, 1};
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (bytes.size() - at < length) return std::nullopt;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[at + i]);
    if (!IsContinuation(next)) return std::nullopt;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  return Decoded{code, length};
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

QString ToQString(std::string_view bytes) {
  std::u32string codes;
  codes.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();) {
    const std::optional<Decoded> decoded = DecodeOne(bytes, at);
    if (decoded && !IsRawByte(decoded->Code)) {
      codes += decoded->Code;
      at += decoded->Length;
    } else {
      // Only the first byte is taken as raw; the next one may start a
      // valid sequence.
      codes += static_cast<char32_t>(kRawByteBase + static_cast<unsigned char>(bytes[at]));
      ++at;
    }
  }
  return QString::fromUcs4(codes.data(), static_cast<qsizetype>(codes.size()));
}

std::string ToBytes(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  // toUcs4 turns a lone surrogate, which has no UTF-8 form, into U+FFFD.
  for (const char32_t code : text.toUcs4()) {
    if (IsRawByte(code)) {
      bytes += static_cast<char>(code - kRawByteBase);
    } else {
      AppendUtf8(bytes, code);
    }
  }
  return bytes;
}

}  // namespace pellox
