#include "file_test_support.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include "child_process.h"

namespace pellox::testing {

void Save(const std::string& target, const std::string& contents) {
  PosixFileSystem files;
  Save(files, target, contents);
}

std::string ReadThrough(FileSystem& files, const std::string& path) {
  std::unique_ptr<File> file = files.OpenForReading(path);
  std::string contents;
  char buffer[7];  // small on purpose: several reads per file
  while (size_t count = file->Read(buffer, sizeof buffer)) contents.append(buffer, count);
  file->Close();
  return contents;
}

struct stat StatOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info;
}

namespace {

int RunInChild(const std::function<int()>& body, bool asNobody, int timeoutSeconds) {
  pid_t pid = fork();
  if (pid == 0) {
    if (asNobody) {
      const gid_t groups[] = {kUsersGroup};
      if (setgroups(1, groups) != 0 || setgid(kNogroup) != 0 || setuid(kNobody) != 0) _exit(200);
    }
    _exit(body());
  }
  if (pid < 0) return -1;
  int status = WaitOrKill(pid, timeoutSeconds);
  // A child that was killed for taking too long ends by a signal.
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

int AsNobody(const std::function<int()>& body, int timeoutSeconds) {
  return RunInChild(body, true, timeoutSeconds);
}

int InChild(const std::function<int()>& body, int timeoutSeconds) {
  return RunInChild(body, false, timeoutSeconds);
}

}  // namespace pellox::testing
