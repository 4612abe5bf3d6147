// A large list file's text, for the tests that interrupt saves: the Linux
// and the Windows file layers' tests use it.
#pragma once

#include <string>

namespace pellox::testing {

// A list of `entries` entries (delay 5, a program named after `tag` and
// its number, parameter "-q"), about 30 bytes each.
inline std::string BigList(int entries, const std::string& tag) {
  std::string text = "0\r\n" + std::to_string(entries) + "\r\n";
  text.reserve(static_cast<size_t>(entries) * 32);
  for (int i = 0; i < entries; ++i) {
    text += "5\r\n/usr/bin/" + tag + "-" + std::to_string(i) + "\r\n-q\r\n";
  }
  return text;
}

}  // namespace pellox::testing
