#include "platform/linux/posix_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/errno_in_out_error.h"

namespace pellox {

void UniqueFd::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

void WriteAt(int fd, const char* data, size_t size, off_t offset) {
  while (size > 0) {
    ssize_t count = ::pwrite(fd, data, size, offset);
    if (count < 0) {
      if (errno == EINTR) continue;
      ThrowInOutErrno(errno);
    }
    data += count;
    size -= static_cast<size_t>(count);
    offset += count;
  }
}

void CloseChecked(int fd) {
  // close is not retried on EINTR: on Linux the descriptor is gone anyway.
  if (::close(fd) != 0 && errno != EINTR) ThrowInOutErrno(errno);
}

int FolderSyncError(int folderFd) {
  const int flags = fcntl(folderFd, F_GETFL);
  if (flags < 0 || (flags & O_PATH) != 0) return 0;
  return fsync(folderFd) == 0 || errno == EINVAL ? 0 : errno;
}

void SyncFolder(int folderFd) {
  if (const int error = FolderSyncError(folderFd)) ThrowInOutErrno(error);
}

bool NameLeadsTo(int folderFd, const char* name, int fd) {
  struct stat named {};
  struct stat open {};
  return fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && fstat(fd, &open) == 0 &&
         named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

void RemoveIfSame(int folderFd, const char* name, dev_t device, ino_t inode) noexcept {
  struct stat named {};
  if (fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == device &&
      named.st_ino == inode) {
    unlinkat(folderFd, name, 0);
  }
}

}  // namespace pellox
