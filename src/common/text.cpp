#include "common/text.h"

namespace pellox {

std::string ErrorReportText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

std::string FolderPart(std::string_view path, std::string_view separators) {
  size_t last = path.find_last_of(separators);
  if (last == std::string_view::npos) return std::string();
  return std::string(path.substr(0, last + 1));
}

}  // namespace pellox
