// A folder of its own for one test, removed with everything in it, and
// whole-file reads and writes through the C++ library (independent of the
// file layers under test). Portable: the Linux and the Windows tests use it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pellox::testing {

// The system's separator of path parts: "/", or "\" on Windows.
inline constexpr char kPathSeparator =
    static_cast<char>(std::filesystem::path::preferred_separator);

class TempFolder {
 public:
  // Creates a fresh folder under `base` (the system's temporary folder when
  // empty) with mode `mode` (on Windows only its write bits count); aborts
  // the test program when that fails.
  explicit TempFolder(const std::string& base = "", unsigned mode = 0700);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's canonical path, without a separator at its end.
  const std::string& Path() const { return path_; }
  // Path(), the separator and `name`.
  std::string operator/(const std::string& name) const { return path_ + kPathSeparator + name; }

 private:
  std::string path_;
};

// Writes `contents` to `path`, replacing it; aborts on failure.
void WriteFile(const std::string& path, const std::string& contents);
// The whole file; empty with `*ok` false when it cannot be opened.
std::string ReadFile(const std::string& path, bool* ok = nullptr);
// Whether anything (a link too, even one that leads nowhere) has that name.
bool Exists(const std::string& path);
// The names in `folder`, sorted.
std::vector<std::string> NamesIn(const std::string& folder);

}  // namespace pellox::testing
