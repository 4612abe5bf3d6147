#include "temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pellox::testing {

TempFolder::TempFolder(const std::string& base, unsigned mode) {
  std::string root = base;
  if (root.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    root = tmp && *tmp ? tmp : "/tmp";
  }
  std::string pattern = root + "/pellox-test.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr || chmod(pattern.c_str(), mode) != 0) {
    std::perror("mkdtemp");
    std::abort();
  }
  // The canonical path, so that it compares equal to what getcwd reports.
  path_ = std::filesystem::canonical(pattern).string();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // A test may have left read-only folders behind; make them removable.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) chmod(it->path().c_str(), 0700);
  }
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
}

std::string ReadFile(const std::string& path, bool* ok) {
  std::ifstream in(path, std::ios::binary);
  if (ok) *ok = static_cast<bool>(in);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace pellox::testing
