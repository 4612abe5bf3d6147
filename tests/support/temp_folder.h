// A folder of its own for one test, removed with everything in it.
#pragma once

#include <string>

namespace pellox::testing {

class TempFolder {
 public:
  // Creates a fresh folder under `base` (TMPDIR or /tmp when empty) with
  // mode `mode`; aborts the test program when that fails.
  explicit TempFolder(const std::string& base = "", unsigned mode = 0700);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes `contents` to `path`, replacing it; aborts on failure.
void WriteFile(const std::string& path, const std::string& contents);
// The whole file; empty with `*ok` false when it cannot be opened.
std::string ReadFile(const std::string& path, bool* ok = nullptr);
bool Exists(const std::string& path);

}  // namespace pellox::testing
