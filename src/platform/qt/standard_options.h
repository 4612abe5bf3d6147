// The two options every command-line program on Linux answers, before
// anything else of the program starts (no window, no display): `--help`
// prints the usage, `--version` the program's name and version, both to
// standard output. Any other first argument is the list file, as on Windows.
#pragma once

#include <optional>
#include <ostream>

namespace pellox {

// When the first argument in `argv` is "--help" or "--version", writes the
// answer to `out` and returns the exit code: 0, or 1 when the text could
// not be written (a full disk, a closed pipe; reported on `errors`).
// Otherwise writes nothing and returns nothing: the program runs as usual.
std::optional<int> AnswerStandardOption(int argc, char** argv, std::ostream& out,
                                        std::ostream& errors);

}  // namespace pellox
