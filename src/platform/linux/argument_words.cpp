#include "platform/linux/argument_words.h"

namespace pellox {
std::vector<std::string> SplitArgumentWords(std::string_view) { return {}; }
}  // namespace pellox
