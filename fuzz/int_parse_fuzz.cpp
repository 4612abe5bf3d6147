// Checks the shared integer parse against a reference built on
// std::from_chars, whose digit and range rules are the standard library's
// own, and checks that every 32-bit value reads back from its decimal and
// hexadecimal texts.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "common/int_parse.h"

namespace {

using pellox::ParseInt32;
using pellox::ParseNumberToken;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool AllOf(std::string_view text, bool (*accept)(char)) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!accept(c)) return false;
  }
  return true;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

template <typename T>
std::optional<T> FromChars(std::string_view text, int base) {
  T value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int32_t> ReferenceHex(std::string_view digits) {
  if (!AllOf(digits, IsHexDigit)) return std::nullopt;
  std::optional<uint32_t> bits = FromChars<uint32_t>(digits, 16);
  if (!bits) return std::nullopt;
  return static_cast<int32_t>(*bits);
}

std::optional<int32_t> ReferenceToken(std::string_view token) {
  if (token.empty()) return std::nullopt;
  if (token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
    return ReferenceHex(token.substr(2));
  }
  switch (token[0]) {
    case '$':
    case 'x':
    case 'X':
      return ReferenceHex(token.substr(1));
    case '+':
      token.remove_prefix(1);
      if (!AllOf(token, IsDecimalDigit)) return std::nullopt;
      return FromChars<int32_t>(token, 10);
    case '-':
      if (!AllOf(token.substr(1), IsDecimalDigit)) return std::nullopt;
      return FromChars<int32_t>(token, 10);
    default:
      if (!AllOf(token, IsDecimalDigit)) return std::nullopt;
      return FromChars<int32_t>(token, 10);
  }
}

void CheckValueTexts(int32_t value) {
  Require(ParseNumberToken(std::to_string(value)) == value);
  Require(ParseInt32("  " + std::to_string(value)) == value);
  char hex[16];
  std::snprintf(hex, sizeof hex, "$%X", static_cast<unsigned>(static_cast<uint32_t>(value)));
  Require(ParseNumberToken(hex) == value);
  std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(static_cast<uint32_t>(value)));
  Require(ParseNumberToken(hex) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  Require(ParseNumberToken(text) == ReferenceToken(text));

  const size_t start = text.find_first_not_of(' ');
  const std::optional<int32_t> expected =
      start == std::string_view::npos ? std::nullopt : ReferenceToken(text.substr(start));
  Require(ParseInt32(text) == expected);

  if (size >= 4) {
    int32_t value;
    std::memcpy(&value, data, sizeof value);
    CheckValueTexts(value);
  }
  return 0;
}
