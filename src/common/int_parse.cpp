#include "common/int_parse.h"

namespace pellox {

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> ParseDecimal(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<int32_t> ParseNumberToken(std::string_view token) {
  if (token.empty()) return std::nullopt;
  switch (token.front()) {
    case '+':
      return ParseDecimal(token.substr(1), false);
    case '-':
      return ParseDecimal(token.substr(1), true);
    case '$':
    case 'x':
    case 'X':
      return ParseHex(token.substr(1));
    default:
      break;
  }
  if (token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
    return ParseHex(token.substr(2));
  }
  return ParseDecimal(token, false);
}

std::optional<int32_t> ParseInt32(std::string_view text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  return ParseNumberToken(text.substr(start));
}

}  // namespace pellox
