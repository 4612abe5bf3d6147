// Splitting a parameter text into the words of a program's argument vector.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellox {

// Splits `text` the way a POSIX shell splits a simple command's words, but
// without any expansion: blanks (space, tab, newline) separate words; single
// quotes keep everything up to the next single quote; double quotes keep
// everything up to the next double quote, where a backslash escapes only
// `"`, `\`, `$`, backquote and a newline; elsewhere a backslash keeps the
// next character (a backslash-newline pair disappears). `$`, globs, `;`,
// `|` and backquotes are ordinary characters. An unterminated quote runs to
// the end of the text; a trailing lone backslash is kept. `''` gives an
// empty word. Never fails.
std::vector<std::string> SplitArgumentWords(std::string_view text);

}  // namespace pellox
