// A private folder under $TMPDIR (or /tmp) for one benchmark's files.
#pragma once

#include <string>

namespace pellox::bench {

class TempDir {
 public:
  // Creates the folder; throws std::runtime_error when it cannot.
  TempDir();
  // Removes the folder and everything in it.
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes `contents` to `path`, replacing it; throws std::runtime_error.
void WriteFile(const std::string& path, const std::string& contents);

}  // namespace pellox::bench
