// Small helpers around file descriptors, shared by the Linux file layer.
// Each raises EInOutError (errno mapped) when its call fails.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace pellox {

// Owns a descriptor until it is handed on.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int Get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset(int fd = -1);

 private:
  int fd_;
};

// Writes all `size` bytes at `offset`.
void WriteAt(int fd, const char* data, size_t size, off_t offset);

// Closes a descriptor whose data are already on the disk; an error still
// reaches the caller.
void CloseChecked(int fd);

// Makes the names in a folder last (a new name, a rename). A folder opened
// only for lookups (O_PATH, when the user may not read it) cannot be
// synced; some file systems do not sync folders at all (EINVAL).
void SyncFolder(int folderFd);
// The same, giving the errno of a failure (0 for none) instead of raising.
int FolderSyncError(int folderFd);

// Whether `name` in the folder open as `folderFd` is the file open as `fd`.
bool NameLeadsTo(int folderFd, const char* name, int fd);

// Removes `name` from the folder when it is the file whose device and
// inode numbers are given: a file this program made, never one that took
// its name meanwhile.
void RemoveIfSame(int folderFd, const char* name, dev_t device, ino_t inode) noexcept;

}  // namespace pellox
