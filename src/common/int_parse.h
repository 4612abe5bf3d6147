// The program's one integer parse. System-independent code only.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pellox {

// Parses a number token with nothing around it: an optional "+" or "-" and
// decimal digits within the 32-bit signed range, or, without a sign, one of
// the prefixes "$", "x", "X", "0x", "0X" and hexadecimal digits of at most
// 32 bits (values of 0x80000000 and above are the negative numbers with the
// same bits). Anything else gives no value.
std::optional<int32_t> ParseNumberToken(std::string_view token);

// The shared parse of delay fields and Delay cells: leading blanks (spaces
// only, not tabs), then a number token and nothing after its last digit.
std::optional<int32_t> ParseInt32(std::string_view text);

}  // namespace pellox
