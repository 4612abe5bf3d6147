// Texts holding what one line of a list file cannot store (a CR or LF line
// break, the end-of-data byte Ctrl+Z, 0x1A) and what of each an entry keeps:
// everything before the first break, without the Ctrl+Z bytes. The core's
// tests check the core's cells on them, the front ends' tests their real
// entry fields.
#pragma once

#include <ostream>
#include <string_view>

namespace pellox::testing {

struct LineBreakCase {
  const char* Label;
  std::string_view Text;
  std::string_view FirstLine;
};

inline void PrintTo(const LineBreakCase& text, std::ostream* out) { *out << text.Label; }

inline constexpr LineBreakCase kLineBreakCases[] = {
    {"One_line", "run.exe", "run.exe"},
    {"LF_between_list_lines", "a.exe\n0\nevil.exe\n", "a.exe"},
    {"CR_LF", "first\r\nsecond\r\n", "first"},
    {"Lone_CR", "first\rsecond", "first"},
    {"Break_first", "\nsecond", ""},
    {"Break_only", "\r\n", ""},
    {"Ctrl_Z",
     "a\x1A"
     "b\x1A",
     "ab"},
    {"Ctrl_Z_before_the_break",
     "\x1A"
     "a\nb",
     "a"},
    {"Ctrl_Z_after_the_break",
     "a\n\x1A"
     "b",
     "a"},
};

}  // namespace pellox::testing
