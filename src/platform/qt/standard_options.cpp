#include "platform/qt/standard_options.h"

#include <string_view>

namespace pellox {

namespace {

// The manual page's synopsis, the list file, the exit status and where to
// read more; pellox(1) says the same at length.
constexpr std::string_view kUsage =
    "Usage: pellox [LIST_FILE]\n"
    "  or:  pellox --help | --version\n"
    "Start a list of programs one after another, each after its own delay.\n"
    "\n"
    "Without LIST_FILE, pellox opens its window with an empty list. Given a\n"
    "list file (.lst), it loads the list, runs it without showing its window\n"
    "and ends; further arguments are ignored. A list file that cannot be\n"
    "loaded opens the window with an empty list instead. A list file whose\n"
    "name begins with \"-\" is given as ./-name.\n"
    "\n"
    "      --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Exit status:\n"
    " 0  the list ran, or the window was closed\n"
    " 1  the program could not set up its window\n"
    "\n"
    "Full documentation: man pellox\n";

constexpr std::string_view kVersion = "pellox " PELLOX_VERSION "\n";

}  // namespace

std::optional<int> AnswerStandardOption(int argc, char** argv, std::ostream& out,
                                        std::ostream& errors) {
  if (argc < 2) return std::nullopt;
  const std::string_view option = argv[1];
  std::string_view answer;
  if (option == "--help") {
    answer = kUsage;
  } else if (option == "--version") {
    answer = kVersion;
  } else {
    return std::nullopt;
  }
  out << answer << std::flush;
  if (out) return 0;
  errors << "pellox: write error\n";
  return 1;
}

}  // namespace pellox
