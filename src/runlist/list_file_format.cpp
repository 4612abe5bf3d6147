#include "runlist/list_file_format.h"

#include <algorithm>

namespace pellox {

namespace {
constexpr char kLineEnds[] = {kCR, kLF, '\0'};
}  // namespace

std::string StorableLine(std::string_view text) {
  const std::string_view firstLine = text.substr(0, text.find_first_of(kLineEnds));
  std::string line(firstLine);
  std::erase(line, kEndOfDataByte);
  return line;
}

}  // namespace pellox
