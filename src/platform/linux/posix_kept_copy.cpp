#include "platform/linux/posix_kept_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/linux/errno_in_out_error.h"
#include "platform/linux/posix_descriptor.h"

namespace pellox {
namespace {

// Names tried in one folder before it counts as full of copies.
constexpr int kNameTries = 100;
// Room left in a name for what KeptCopyName adds.
constexpr size_t kCacheNameLength = 200;

// The user's cache folder for kept copies, made where missing (mode 0700);
// -1 when there is none.
int OpenCacheFolder() {
  std::string base;
  const char* cacheHome = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  if (cacheHome != nullptr && cacheHome[0] == '/') {
    base = cacheHome;
  } else if (home != nullptr && home[0] == '/') {
    base = std::string(home) + "/.cache";
  } else {
    return -1;
  }
  mkdir(base.c_str(), 0700);
  const std::string folder = base + "/pellox";
  mkdir(folder.c_str(), 0700);
  return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Writes all of `contents` into the new file `fd`, puts it on the disk and
// closes it; 0, or the errno of the call that failed.
int WriteSyncAndClose(int fd, const std::string& contents) {
  UniqueFd file(fd);
  for (size_t done = 0; done < contents.size();) {
    const ssize_t count =
        ::pwrite(fd, contents.data() + done, contents.size() - done, static_cast<off_t>(done));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return errno;
    done += static_cast<size_t>(count);
  }
  if (fsync(fd) != 0) return errno;
  return ::close(file.Release()) == 0 || errno == EINTR ? 0 : errno;
}

// The kept copy's name for a file named `name`, the `attempt`th (from 1)
// that is tried.
std::string KeptCopyName(const std::string& name, int attempt) {
  if (attempt == 1) return name + ".pellox-kept.lst";
  return name + ".pellox-kept-" + std::to_string(attempt) + ".lst";
}

}  // namespace

KeptCopy::KeptCopy(int folderFd, const std::string& name, const std::string& contents) {
  const int besideError = MakeIn(folderFd, name, contents);
  if (besideError == 0) {
    folderFd_ = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (folderFd_ < 0) ThrowInOutErrno(errno);
    return;
  }
  UniqueFd cache(OpenCacheFolder());
  if (cache.Get() >= 0 && MakeIn(cache.Get(), name.substr(0, kCacheNameLength), contents) == 0) {
    folderFd_ = cache.Release();
    return;
  }
  ThrowInOutErrno(besideError);
}

KeptCopy::~KeptCopy() {
  if (folderFd_ >= 0) ::close(folderFd_);
}

int KeptCopy::MakeIn(int folderFd, const std::string& name, const std::string& contents) {
  for (int attempt = 1; attempt <= kNameTries; ++attempt) {
    const std::string copyName = KeptCopyName(name, attempt);
    const int fd = openat(folderFd, copyName.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return errno;
    struct stat info {};
    fstat(fd, &info);
    int error = WriteSyncAndClose(fd, contents);
    if (error == 0) error = FolderSyncError(folderFd);
    if (error != 0) {
      RemoveIfSame(folderFd, copyName.c_str(), info.st_dev, info.st_ino);
      return error;
    }
    name_ = copyName;
    device_ = info.st_dev;
    inode_ = info.st_ino;
    return 0;
  }
  return EEXIST;
}

void KeptCopy::Remove() noexcept {
  if (name_.empty()) return;
  RemoveIfSame(folderFd_, name_.c_str(), device_, inode_);
  name_.clear();
}

}  // namespace pellox
