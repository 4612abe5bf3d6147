// The bytes that carry meaning in a list file, shared by its reader, its
// writer and the commands that fill the cells it stores.
#pragma once

#include <string>
#include <string_view>

#include "common/end_of_data.h"

namespace pellox {

inline constexpr char kCR = '\r';
inline constexpr char kLF = '\n';

// The part of `text` that one list-file line can store and read back as it
// was: everything before the first CR or LF, with every 0x1A left out. A
// cell holding more would end its line early or all the data after it, and
// the text after that would be read as other entries.
std::string StorableLine(std::string_view text);

}  // namespace pellox
