// Splits arbitrary parameter texts into argument words and checks the rules
// that the launcher relies on: plain words joined by spaces split back into
// themselves, and any words quoted as a shell would quote them split back
// exactly, whatever bytes they hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/argument_words.h"

namespace {

using pellox::SplitArgumentWords;
using Words = std::vector<std::string>;

void Require(bool condition) {
  if (!condition) std::abort();
}

// A word with no blank, quote or backslash means the same unquoted.
bool IsPlain(const std::string& word) {
  return !word.empty() && word.find_first_of(" \t\n'\"\\") == std::string::npos;
}

std::string Joined(const Words& words, std::string (*quote)(const std::string&)) {
  std::string text;
  for (const std::string& word : words) {
    if (!text.empty()) text += ' ';
    text += quote(word);
  }
  return text;
}

std::string AsIs(const std::string& word) { return word; }

// 'it'\''s': single quotes keep everything; a single quote itself is
// written outside them, escaped.
std::string SingleQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Inside double quotes only these four need a backslash; a newline is kept
// as it is (a backslash before it would remove it).
std::string DoubleQuoted(const std::string& word) {
  std::string quoted = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\' || c == '$' || c == '`') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

void CheckRoundTrips(const Words& words) {
  Require(SplitArgumentWords(Joined(words, SingleQuoted)) == words);
  Require(SplitArgumentWords(Joined(words, DoubleQuoted)) == words);
  Words plain;
  for (const std::string& word : words) {
    if (IsPlain(word)) plain.push_back(word);
  }
  Require(SplitArgumentWords(Joined(plain, AsIs)) == plain);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Words words = SplitArgumentWords(text);
  // Every word takes at least one byte of the text, and an empty one two.
  Require(words.size() <= size);
  CheckRoundTrips(words);

  // Words of arbitrary bytes, not only those a split can give.
  FuzzedDataProvider provider(data, size);
  Words made;
  while (provider.remaining_bytes() > 0 && made.size() < 64) {
    made.push_back(provider.ConsumeRandomLengthString(64));
  }
  CheckRoundTrips(made);
  return 0;
}
