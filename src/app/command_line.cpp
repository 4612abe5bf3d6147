#include "app/command_line.h"

namespace pellox {

namespace {
bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  size_t pos = 0;
  for (;;) {
    while (pos < commandLine.size() && IsSeparator(commandLine[pos])) ++pos;
    if (pos == commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    for (; pos < commandLine.size() && (quoted || !IsSeparator(commandLine[pos])); ++pos) {
      if (commandLine[pos] == '"') {
        quoted = !quoted;
      } else {
        argument.push_back(commandLine[pos]);
      }
    }
    arguments.push_back(std::move(argument));
  }
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

}  // namespace pellox
