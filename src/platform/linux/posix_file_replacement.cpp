#include "platform/linux/posix_file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/linux/posix_file_system.h"

namespace pellox {
namespace {

// Tries before giving up on finding a free temporary name.
constexpr int kTempNameTries = 100;

// Creating in a folder that is open fails with ENOENT only when the folder
// was removed; the list file's callers call that a missing folder (code 3).
[[noreturn]] void ThrowCreateErrno(int errnoValue) {
  ThrowInOutErrno(errnoValue == ENOENT ? ENOTDIR : errnoValue);
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

// Closes a descriptor whose data are already on the disk; an error still
// reaches the caller.
void CloseChecked(int fd) {
  // close is not retried on EINTR: on Linux the descriptor is gone anyway.
  if (::close(fd) != 0 && errno != EINTR) ThrowInOutErrno(errno);
}

std::string RandomTempName() {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[kTempNameRandomChars] = {};
  if (getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
    // No entropy yet: the name only has to differ, and the create checks it.
    unsigned long seed =
        static_cast<unsigned long>(std::time(nullptr)) ^ static_cast<unsigned long>(getpid());
    for (unsigned char& byte : random) byte = static_cast<unsigned char>(seed >>= 5);
  }
  std::string name = kTempNamePrefix;
  for (unsigned char byte : random) name += kChars[byte % (sizeof kChars - 1)];
  return name;
}

bool IsTempName(const char* name) {
  const size_t prefixLength = sizeof kTempNamePrefix - 1;
  return std::strncmp(name, kTempNamePrefix, prefixLength) == 0 &&
         std::strlen(name) == prefixLength + kTempNameRandomChars;
}

// A temporary file of this user's that no save holds locked was left by a
// save that was killed.
void RemoveIfAbandoned(int folderFd, const char* name) {
  int fd = openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
      info.st_nlink == 1 && flock(fd, LOCK_EX | LOCK_NB) == 0) {
    unlinkat(folderFd, name, 0);
  }
  ::close(fd);
}

void RemoveAbandonedTempFiles(int folderFd) {
  // A folder the user may not list has none that could be found.
  int listFd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return;
  DIR* folder = fdopendir(listFd);
  if (folder == nullptr) {
    ::close(listFd);
    return;
  }
  while (dirent* entry = readdir(folder)) {
    if (IsTempName(entry->d_name)) RemoveIfAbandoned(folderFd, entry->d_name);
  }
  closedir(folder);
}

// A file without a name in the folder, or -1 where the system offers none.
// Linking it in later goes through /proc.
int OpenUnnamed(int folderFd) {
  if (access("/proc/self/fd", X_OK) != 0) return -1;
  int fd = openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  // The file system (EOPNOTSUPP) or the kernel (EISDIR) has no unnamed files.
  if (errno == EOPNOTSUPP || errno == EISDIR) return -1;
  ThrowCreateErrno(errno);
}

int CreateNamed(int folderFd, std::string& tempName) {
  for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
    std::string name = RandomTempName();
    int fd =
        openat(folderFd, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      tempName = name;
      return fd;
    }
    if (errno != EEXIST) ThrowCreateErrno(errno);
  }
  ThrowInOutErrno(EEXIST);
}

std::string LinkUnnamed(int fd, int folderFd) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
    std::string name = RandomTempName();
    if (linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return name;
    if (errno != EEXIST) ThrowInOutErrno(errno);
  }
  ThrowInOutErrno(EEXIST);
}

// Makes the rename itself last. A folder opened only for lookups (O_PATH,
// when the user may not read it) cannot be synced; some file systems do not
// sync folders at all (EINVAL).
void SyncFolder(int folderFd) {
  const int flags = fcntl(folderFd, F_GETFL);
  if (flags < 0 || (flags & O_PATH) != 0) return;
  if (fsync(folderFd) != 0 && errno != EINVAL) ThrowInOutErrno(errno);
}

class RenamingReplacement : public FileReplacement {
 public:
  RenamingReplacement(int folderFd, std::string name, mode_t mode)
      : folderFd_(folderFd), name_(std::move(name)), mode_(mode) {}
  ~RenamingReplacement() override {
    if (!tempName_.empty()) unlinkat(folderFd_, tempName_.c_str(), 0);
    if (fd_ >= 0) ::close(fd_);
    ::close(folderFd_);
  }
  RenamingReplacement(const RenamingReplacement&) = delete;
  RenamingReplacement& operator=(const RenamingReplacement&) = delete;

  void Create() {
    RemoveAbandonedTempFiles(folderFd_);
    fd_ = OpenUnnamed(folderFd_);
    if (fd_ < 0) fd_ = CreateNamed(folderFd_, tempName_);
    // Held until the file is gone or renamed, and released by the system
    // when a save is killed. A named file is unlocked for the moment
    // between its create and here; a save that removed it meanwhile would
    // make this one fail at the rename, with the old list kept.
    flock(fd_, LOCK_EX | LOCK_NB);
  }

  void Write(const char* data, size_t size) override {
    WriteAt(fd_, data, size, written_);
    written_ += static_cast<off_t>(size);
  }

  void Commit() override {
    if (fchmod(fd_, mode_) != 0) ThrowInOutErrno(errno);
    // On the disk before it takes the old file's place, so that a full disk
    // or a failing device is reported while the old list is still there.
    if (fsync(fd_) != 0) ThrowInOutErrno(errno);
    if (tempName_.empty()) tempName_ = LinkUnnamed(fd_, folderFd_);
    if (renameat(folderFd_, tempName_.c_str(), folderFd_, name_.c_str()) != 0) {
      ThrowInOutErrno(errno);
    }
    tempName_.clear();
    const int fd = fd_;
    fd_ = -1;
    CloseChecked(fd);
    SyncFolder(folderFd_);
  }

 private:
  int folderFd_;
  std::string name_;
  mode_t mode_;
  int fd_ = -1;
  std::string tempName_;  // empty while the file has no name
  off_t written_ = 0;
};

class InPlaceReplacement : public FileReplacement {
 public:
  InPlaceReplacement(int fd, std::string oldContents)
      : fd_(fd), oldContents_(std::move(oldContents)) {}
  ~InPlaceReplacement() override {
    if (fd_ < 0) return;
    if (!committed_) RestoreOldContents();
    ::close(fd_);
  }
  InPlaceReplacement(const InPlaceReplacement&) = delete;
  InPlaceReplacement& operator=(const InPlaceReplacement&) = delete;

  void Write(const char* data, size_t size) override {
    WriteAt(fd_, data, size, written_);
    written_ += static_cast<off_t>(size);
  }

  void Commit() override {
    if (ftruncate(fd_, written_) != 0) ThrowInOutErrno(errno);
    if (fsync(fd_) != 0) ThrowInOutErrno(errno);
    committed_ = true;
    const int fd = fd_;
    fd_ = -1;
    CloseChecked(fd);
  }

 private:
  // Writing over blocks the old contents already had needs no new space, so
  // this works on the full disk that made the save fail.
  void RestoreOldContents() noexcept {
    try {
      WriteAt(fd_, oldContents_.data(), oldContents_.size(), 0);
    } catch (...) {
      // Nothing more can be done here; the save's own error is on its way.
    }
    if (ftruncate(fd_, static_cast<off_t>(oldContents_.size())) == 0) fsync(fd_);
  }

  int fd_;
  std::string oldContents_;
  off_t written_ = 0;
  bool committed_ = false;
};

// Owns a descriptor until it is handed on.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int Get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

std::string ReadWhole(int fd) {
  std::string contents;
  char buffer[64 * 1024];
  for (;;) {
    ssize_t count = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(contents.size()));
    if (count == 0) return contents;
    if (count < 0) {
      if (errno == EINTR) continue;
      ThrowInOutErrno(errno);
    }
    contents.append(buffer, static_cast<size_t>(count));
  }
}

}  // namespace

std::unique_ptr<FileReplacement> CreateRenamingReplacement(int folderFd, const std::string& name,
                                                           mode_t mode) {
  auto replacement = std::make_unique<RenamingReplacement>(folderFd, name, mode);
  replacement->Create();
  return replacement;
}

std::unique_ptr<FileReplacement> CreateInPlaceReplacement(const std::string& path,
                                                          const struct stat& info) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.Get() < 0) ThrowInOutErrno(errno);
  // Something else may have taken the file's place since it was looked at.
  struct stat opened {};
  if (fstat(fd.Get(), &opened) != 0) ThrowInOutErrno(errno);
  if (!S_ISREG(opened.st_mode) || opened.st_dev != info.st_dev || opened.st_ino != info.st_ino) {
    ThrowNotARegularFile();
  }
  const int flags = fcntl(fd.Get(), F_GETFL);
  if (flags < 0 || fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) ThrowInOutErrno(errno);
  std::string oldContents = ReadWhole(fd.Get());
  return std::make_unique<InPlaceReplacement>(fd.Release(), std::move(oldContents));
}

}  // namespace pellox
