#include "temp_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace pellox::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& base, unsigned mode) {
  std::error_code error;
  const fs::path root = base.empty() ? fs::temp_directory_path(error) : fs::path(base);
  std::mt19937 random(std::random_device{}());
  // A name taken already is no error: the next one is tried.
  for (int attempt = 0; attempt < 100 && !error; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "pellox-test.%08x", static_cast<unsigned>(random()));
    const fs::path folder = root / name;
    if (!fs::create_directory(folder, error)) continue;
    fs::permissions(folder, static_cast<fs::perms>(mode), error);
    // The canonical path, so that it compares equal to what the system
    // reports for the folder (getcwd, a file dialog).
    if (!error) path_ = fs::canonical(folder, error).string();
    if (!error) return;
  }
  std::fprintf(stderr, "cannot make a folder under %s: %s\n", root.string().c_str(),
               error.message().c_str());
  std::abort();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // A test may have left read-only folders behind; make them removable.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  fs::remove_all(path_, ignored);
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
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace pellox::testing
