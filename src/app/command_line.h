// Splitting a whole command line (as Windows hands it over) into arguments.
// System-independent code only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellox {

// Arguments are separated by runs of blanks and control characters; a double
// quote opens or closes a stretch in which those belong to the argument, and
// the quotes are dropped. The first argument, the program's name, is left
// out.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace pellox
