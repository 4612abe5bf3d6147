#include "platform/linux/posix_launcher.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/linux/argument_words.h"
#include "platform/linux/clean_spawn.h"

extern char** environ;

namespace pellox {
namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// xdg-open takes an argument that starts with "-" for an option of its own
// ("--help", "-"); "./" in front names the same file and is no option. Other
// names pass unchanged: an absolute name starts with "/", and a URL starts
// with its scheme's letter, which "./" would break.
std::string DocumentArgument(const std::string& file) {
  return file.front() == '-' ? "./" + file : file;
}

}  // namespace

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> entries;
  for (char** entry = environ; entry && *entry; ++entry) entries.emplace_back(*entry);
  return entries;
}

PosixLauncher::PosixLauncher(std::vector<std::string> environment)
    : environment_(std::move(environment)) {
  for (std::string& entry : *environment_) environmentPointers_.push_back(entry.data());
  environmentPointers_.push_back(nullptr);
}

// The PATH search of execvp, done here so that a name that is no program can
// go to xdg-open instead. An empty PATH element means the current folder.
std::optional<std::string> PosixLauncher::FindOnPath(const std::string& name) const {
  const char* pathVariable = nullptr;
  if (environment_) {
    for (const std::string& entry : *environment_) {
      if (entry.starts_with("PATH=")) pathVariable = entry.c_str() + 5;
    }
  } else {
    pathVariable = std::getenv("PATH");
  }
  std::string_view path = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
  for (;;) {
    size_t colon = path.find(':');
    std::string_view folder = path.substr(0, colon);
    std::string candidate = folder.empty() ? name : std::string(folder) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    path.remove_prefix(colon + 1);
  }
}

std::optional<std::string> PosixLauncher::ResolveProgram(const std::string& file) const {
  if (file.find('/') != std::string::npos) {
    if (IsExecutableFile(file)) return file;
    return std::nullopt;
  }
  return FindOnPath(file);
}

void PosixLauncher::Spawn(const std::string& program, const std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  const CleanSpawnAttributes attributes;
  if (!attributes.Ready()) return;
  char** environment = environment_ ? environmentPointers_.data() : environ;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, attributes.Get(), argv.data(), environment) == 0)
    reaper_.Adopt(pid);
}

void PosixLauncher::Open(void* /*owner*/, const std::string& file, const std::string& parameters) {
  if (file.empty()) return;
  if (std::optional<std::string> program = ResolveProgram(file)) {
    std::vector<std::string> words = SplitArgumentWords(parameters);
    words.insert(words.begin(), file);
    Spawn(*program, words);
    return;
  }
  // Not a program: a document (or a URL) for the desktop's opener; the
  // parameter text has no meaning for a document.
  if (std::optional<std::string> opener = FindOnPath("xdg-open"))
    Spawn(*opener, {"xdg-open", DocumentArgument(file)});
}

}  // namespace pellox
