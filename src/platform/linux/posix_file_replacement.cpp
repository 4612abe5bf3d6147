#include "platform/linux/posix_file_replacement.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "common/errors.h"
#include "platform/in_place_overwrite.h"
#include "platform/linux/errno_in_out_error.h"
#include "platform/linux/posix_descriptor.h"
#include "platform/linux/posix_kept_copy.h"

namespace pellox {
namespace {

// Tries before giving up on finding a free temporary name.
constexpr int kTempNameTries = 100;
// How long a save waits for another save of the same file to end.
constexpr auto kLockWait = std::chrono::seconds(3);
constexpr auto kLockPoll = std::chrono::milliseconds(20);

// Creating in a folder that is open fails with ENOENT only when the folder
// was removed; the list file's callers call that a missing folder (code 3).
[[noreturn]] void ThrowCreateErrno(int errnoValue) {
  ThrowInOutErrno(errnoValue == ENOENT ? ENOTDIR : errnoValue);
}

// Waits a little for another save of the file open as `fd` to end, then
// holds the file for this one until the descriptor is closed. Another save
// that goes on is refused like a file open elsewhere for writing (POSIX
// names EACCES for a lock held by another), never mixed with this one.
void LockForSave(int fd) {
  const auto deadline = std::chrono::steady_clock::now() + kLockWait;
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      // A file system without locks (ENOLCK, EINVAL) cannot serialise saves.
      if (errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP) return;
      ThrowInOutErrno(errno);
    }
    if (std::chrono::steady_clock::now() >= deadline) ThrowInOutErrno(EACCES);
    std::this_thread::sleep_for(kLockPoll);
  }
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

// Locks the file now at `name`, if there is one this user may open, against
// saves in place while a new file is made to take its place.
UniqueFd LockExisting(int folderFd, const std::string& name) {
  UniqueFd fd(
      openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat info {};
  if (fd.Get() < 0 || fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return UniqueFd();
  LockForSave(fd.Get());
  return fd;
}

class RenamingReplacement : public FileReplacement {
 public:
  RenamingReplacement(int folderFd, std::string name, mode_t mode)
      : folderFd_(folderFd), name_(std::move(name)), mode_(mode) {}
  ~RenamingReplacement() override {
    // Only a name this save gave the file it still holds open is removed.
    if (!tempName_.empty() && NameLeadsTo(folderFd_.Get(), tempName_.c_str(), fd_.Get())) {
      unlinkat(folderFd_.Get(), tempName_.c_str(), 0);
    }
  }
  RenamingReplacement(const RenamingReplacement&) = delete;
  RenamingReplacement& operator=(const RenamingReplacement&) = delete;

  void Create() {
    locked_ = LockExisting(folderFd_.Get(), name_);
    fd_.Reset(OpenUnnamed(folderFd_.Get()));
    if (fd_.Get() < 0) fd_.Reset(CreateNamed(folderFd_.Get(), tempName_));
  }

  void Write(const char* data, size_t size) override {
    WriteAt(fd_.Get(), data, size, written_);
    written_ += static_cast<off_t>(size);
  }

  void Commit() override {
    if (fchmod(fd_.Get(), mode_) != 0) ThrowInOutErrno(errno);
    // On the disk before it takes the old file's place, so that a full disk
    // or a failing device is reported while the old list is still there.
    if (fsync(fd_.Get()) != 0) ThrowInOutErrno(errno);
    if (tempName_.empty()) tempName_ = LinkUnnamed(fd_.Get(), folderFd_.Get());
    if (renameat(folderFd_.Get(), tempName_.c_str(), folderFd_.Get(), name_.c_str()) != 0) {
      ThrowInOutErrno(errno);
    }
    tempName_.clear();
    // The file holds the new list from here on, whatever fails now.
    try {
      CloseChecked(fd_.Release());
      SyncFolder(folderFd_.Get());
    } catch (const EInOutError& error) {
      throw error.AfterReplace();
    }
  }

 private:
  UniqueFd folderFd_;
  std::string name_;
  mode_t mode_;
  UniqueFd locked_;
  UniqueFd fd_;
  std::string tempName_;  // empty while the file has no name
  off_t written_ = 0;
};

class InPlaceReplacement : public FileReplacement, private OverwrittenFile {
 public:
  InPlaceReplacement(UniqueFd& fd, int folderFd, const std::string& name, std::string oldContents)
      : fd_(fd.Release()),
        kept_(folderFd, name, oldContents),
        overwrite_(*this, std::move(oldContents)) {}
  ~InPlaceReplacement() override {
    // The copy goes only once the old contents are whole on the disk again.
    if (!committed_ && overwrite_.Restore()) kept_.Remove();
  }
  InPlaceReplacement(const InPlaceReplacement&) = delete;
  InPlaceReplacement& operator=(const InPlaceReplacement&) = delete;

  void Start() { overwrite_.Start(); }

  void Write(const char* data, size_t size) override { overwrite_.Write(data, size); }

  void Commit() override {
    overwrite_.Finish();
    committed_ = true;
    kept_.Remove();
    try {
      CloseChecked(fd_.Release());
    } catch (const EInOutError& error) {
      throw error.AfterReplace();
    }
  }

 private:
  void WriteAt(uint64_t offset, const char* data, size_t size) override {
    pellox::WriteAt(fd_.Get(), data, size, static_cast<off_t>(offset));
  }
  void Truncate(uint64_t size) override {
    if (ftruncate(fd_.Get(), static_cast<off_t>(size)) != 0) ThrowInOutErrno(errno);
  }
  void Sync() override {
    if (fsync(fd_.Get()) != 0) ThrowInOutErrno(errno);
  }

  UniqueFd fd_;
  KeptCopy kept_;
  InPlaceOverwrite overwrite_;
  bool committed_ = false;
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

std::unique_ptr<FileReplacement> CreateInPlaceReplacement(int folderFd, const std::string& name,
                                                          const struct stat& info) {
  UniqueFd folder(folderFd);
  struct stat folderInfo {};
  if (fstat(folder.Get(), &folderInfo) != 0) ThrowInOutErrno(errno);
  // The file exists, so O_CREAT creates nothing; it only makes the kernel
  // refuse another user's file in a sticky folder as it would for a shell's
  // ">" there.
  const int create = (folderInfo.st_mode & S_ISVTX) != 0 ? O_CREAT : 0;
  UniqueFd fd(openat(folder.Get(), name.c_str(),
                     O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | create, 0600));
  if (fd.Get() < 0) ThrowInOutErrno(errno);
  // Something else may have taken the file's place since it was looked at.
  struct stat opened {};
  if (fstat(fd.Get(), &opened) != 0) ThrowInOutErrno(errno);
  if (!S_ISREG(opened.st_mode) || opened.st_dev != info.st_dev || opened.st_ino != info.st_ino) {
    ThrowNotARegularFile();
  }
  const int flags = fcntl(fd.Get(), F_GETFL);
  if (flags < 0 || fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) ThrowInOutErrno(errno);
  LockForSave(fd.Get());
  // Another save may have put a new file in its place while this one waited.
  if (!NameLeadsTo(folder.Get(), name.c_str(), fd.Get())) ThrowInOutErrno(EACCES);
  std::string oldContents = ReadWhole(fd.Get());
  auto replacement =
      std::make_unique<InPlaceReplacement>(fd, folder.Get(), name, std::move(oldContents));
  replacement->Start();
  return replacement;
}

}  // namespace pellox
