#include "platform/linux/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "common/errors.h"

namespace pellox {
namespace {

// As many links as the kernel follows in one path lookup.
constexpr int kMaxLinkDepth = 40;

[[noreturn]] void ThrowErrno(int errnoValue) { throw EInOutError(ErrnoToInOutCode(errnoValue)); }

[[noreturn]] void ThrowLastErrno() { ThrowErrno(errno); }

// One open descriptor. `syncOnClose` makes Close flush the data to the disk,
// so that a full disk or a failing device is reported before the file is put
// in the place of the old list.
class PosixFile : public File {
 public:
  PosixFile(int fd, bool syncOnClose) : fd_(fd), syncOnClose_(syncOnClose) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  size_t Read(char* buffer, size_t size) override {
    for (;;) {
      ssize_t count = ::read(fd_, buffer, size);
      if (count >= 0) return static_cast<size_t>(count);
      if (errno != EINTR) ThrowLastErrno();
    }
  }

  void Write(const char* data, size_t size) override {
    while (size > 0) {
      ssize_t count = ::write(fd_, data, size);
      if (count < 0) {
        if (errno == EINTR) continue;
        ThrowLastErrno();
      }
      data += count;
      size -= static_cast<size_t>(count);
    }
  }

  void Close() override {
    int fd = fd_;
    fd_ = -1;
    int syncError = syncOnClose_ && ::fsync(fd) != 0 ? errno : 0;
    // close is not retried on EINTR: on Linux the descriptor is gone anyway.
    int closeError = ::close(fd) != 0 && errno != EINTR ? errno : 0;
    if (syncError != 0) ThrowErrno(syncError);
    if (closeError != 0) ThrowErrno(closeError);
  }

 private:
  int fd_;
  bool syncOnClose_;
};

// The path a symbolic link at `path` leads to, relative links taken from the
// link's own folder; `path` itself when it is no link. A chain of links is
// followed through realpath; a dangling link gives the path it names, so a
// save creates that file.
std::string ResolveTarget(const std::string& path, int depth = 0) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  if (depth == kMaxLinkDepth) ThrowErrno(ELOOP);
  if (char* real = realpath(path.c_str(), nullptr)) {
    std::string resolved = real;
    std::free(real);
    return resolved;
  }
  std::string destination(PATH_MAX, '\0');
  ssize_t length = readlink(path.c_str(), destination.data(), destination.size());
  if (length < 0 || static_cast<size_t>(length) == destination.size()) ThrowErrno(ENAMETOOLONG);
  destination.resize(static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  if (destination.front() != '/' && slash != std::string::npos) {
    destination.insert(0, path, 0, slash + 1);
  }
  return ResolveTarget(destination, depth + 1);
}

// The permission bits a file created with open(0666) would get: mkstemp
// creates 0600, which would hide a newly saved list from other users. The
// mask is read from /proc because umask() can only be read by changing it.
mode_t NewFileMode() {
  mode_t mask = 022;
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
      unsigned int value = 0;
      if (std::sscanf(line, "Umask: %o", &value) == 1) mask = static_cast<mode_t>(value);
    }
    std::fclose(status);
  }
  return 0666 & ~mask;
}

// A missing file and a missing folder are both ENOENT here; the list file's
// callers tell them apart (codes 2 and 3), so look whether the folder is there.
[[noreturn]] void ThrowNotFound(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) ThrowErrno(ENOENT);
  ThrowErrno(ENOTDIR);
}

// A read-only file is not replaced, as on the system where list files come
// from; rename alone would replace it, and root passes every access() check.
void CheckWritable(const std::string& path, const struct stat& info) {
  if ((info.st_mode & 0222) == 0) ThrowErrno(EACCES);
  if (access(path.c_str(), W_OK) != 0 && errno != ENOENT) ThrowLastErrno();
}

// The folder part with its "/", and the name after it.
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
  size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int ErrnoToInOutCode(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return 2;
    case ENOTDIR:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return 5;
    case ENOSPC:
      return 101;
    default:
      return errnoValue;
  }
}

std::unique_ptr<File> PosixFileSystem::OpenForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) ThrowNotFound(path);
  if (fd < 0) ThrowLastErrno();
  auto file = std::make_unique<PosixFile>(fd, false);
  // open() succeeds on a folder; reading one must fail like on Windows.
  struct stat info {};
  if (fstat(fd, &info) != 0) ThrowLastErrno();
  if (S_ISDIR(info.st_mode)) ThrowErrno(EISDIR);
  return file;
}

std::unique_ptr<File> PosixFileSystem::CreateTempBeside(const std::string& target,
                                                        std::string& tempPath) {
  std::string folder;
  std::string name;
  SplitPath(ResolveTarget(target), folder, name);
  std::string pattern = folder + "." + name + ".XXXXXX";
  int fd = mkostemp(pattern.data(), O_CLOEXEC);
  // Creating in a folder fails with ENOENT only when the folder is missing.
  if (fd < 0) ThrowErrno(errno == ENOENT ? ENOTDIR : errno);
  tempPath = pattern;
  return std::make_unique<PosixFile>(fd, true);
}

void PosixFileSystem::Replace(const std::string& source, const std::string& target) {
  const std::string resolved = ResolveTarget(target);
  struct stat info {};
  mode_t mode = 0;
  if (stat(resolved.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) CheckWritable(resolved, info);
    mode = info.st_mode & 07777;
  } else if (errno == ENOENT) {
    mode = NewFileMode();
  } else {
    ThrowLastErrno();
  }
  if (chmod(source.c_str(), mode) != 0) ThrowLastErrno();
  if (rename(source.c_str(), resolved.c_str()) != 0) ThrowLastErrno();
}

void PosixFileSystem::Remove(const std::string& path) noexcept { ::unlink(path.c_str()); }

}  // namespace pellox
