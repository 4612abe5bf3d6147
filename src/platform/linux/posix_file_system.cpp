#include "platform/linux/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "common/text.h"
#include "platform/linux/errno_in_out_error.h"
#include "platform/linux/linux_process_info.h"
#include "platform/linux/posix_file_replacement.h"

namespace pellox {
namespace {

// As many links as the kernel follows in one path lookup.
constexpr int kMaxLinkDepth = 40;

[[noreturn]] void ThrowErrno(int errnoValue) { ThrowInOutErrno(errnoValue); }

[[noreturn]] void ThrowLastErrno() { ThrowErrno(errno); }

// One descriptor open for reading.
class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
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

  void Close() override {
    int fd = fd_;
    fd_ = -1;
    // close is not retried on EINTR: on Linux the descriptor is gone anyway.
    if (::close(fd) != 0 && errno != EINTR) ThrowLastErrno();
  }

 private:
  int fd_;
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
  if (destination.front() != '/') destination.insert(0, FolderPart(path, kPosixPathSeparators));
  return ResolveTarget(destination, depth + 1);
}

// Follows a link at `path` through the kernel as a shell's ">" would, so
// that its protection against links planted in sticky folders
// (fs.protected_symlinks) holds for this save too: refused with EACCES
// (code 5). The file reached must be `resolved`, where the save goes.
void CheckLinkMayBeFollowed(const std::string& path, const std::string& resolved) {
  const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
  // ENOENT: the kernel followed the link and found nothing; the save
  // creates the file it names.
  if (fd < 0 && errno == ENOENT) return;
  if (fd < 0) ThrowLastErrno();
  struct stat reached {};
  struct stat target {};
  const bool same = fstat(fd, &reached) == 0 && stat(resolved.c_str(), &target) == 0 &&
                    reached.st_dev == target.st_dev && reached.st_ino == target.st_ino;
  ::close(fd);
  // The link was changed meanwhile.
  if (!same) ThrowNotARegularFile();
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
  std::string folder = FolderPart(path, kPosixPathSeparators);
  if (folder.empty()) folder = ".";
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

// The folder a save works in, for reading where the user may, else only
// for lookups. A missing folder is code 3.
int OpenFolder(const std::string& folder) {
  const char* path = folder.empty() ? "." : folder.c_str();
  int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 && errno == EACCES) fd = ::open(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) ThrowErrno(errno == ENOENT ? ENOTDIR : errno);
  return fd;
}

// Whether the file at `path` carries extended attributes (an access control
// list, a user's own attributes) that a new file would not get. The
// security label is left out: a new file in the same folder gets its own.
bool HasOwnAttributes(const std::string& path) {
  ssize_t size = listxattr(path.c_str(), nullptr, 0);
  if (size <= 0) return false;
  std::string names(static_cast<size_t>(size), '\0');
  size = listxattr(path.c_str(), names.data(), names.size());
  // Changed meanwhile: rather in place than losing one.
  if (size < 0) return true;
  names.resize(static_cast<size_t>(size));
  // The names follow each other, each ending in a zero byte.
  for (size_t at = 0; at < names.size();) {
    const size_t end = std::min(names.find('\0', at), names.size());
    if (std::string_view(names).substr(at, end - at) != "security.selinux") return true;
    at = end + 1;
  }
  return false;
}

// Whether a new file renamed onto the existing one at `path`, described by
// `info`, would differ from it in nothing but its contents: the same owner
// and group as this user's new files in the folder get, no other name (hard
// link) that would keep the old contents, no extended attributes (an access
// control list) to lose, and a folder the user may write.
bool RenameChangesNothingElse(int folderFd, const std::string& path, const struct stat& info) {
  struct stat folder {};
  if (fstat(folderFd, &folder) != 0) return false;
  const gid_t newGroup = (folder.st_mode & S_ISGID) != 0 ? folder.st_gid : getegid();
  return info.st_nlink == 1 && info.st_uid == geteuid() && info.st_gid == newGroup &&
         faccessat(folderFd, ".", W_OK, AT_EACCESS) == 0 && !HasOwnAttributes(path);
}

// The folder part with its "/", and the name after it.
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
  folder = FolderPart(path, kPosixPathSeparators);
  name = path.substr(folder.size());
}

}  // namespace

std::unique_ptr<File> PosixFileSystem::OpenForReading(const std::string& path) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer. O_NOCTTY: a
  // terminal must not become the controlling one.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) ThrowNotFound(path);
  if (fd < 0) ThrowLastErrno();
  auto file = std::make_unique<PosixFile>(fd);
  // Only a regular file ends: a device like /dev/zero never does, and a
  // FIFO or a terminal waits for data.
  struct stat info {};
  if (fstat(fd, &info) != 0) ThrowLastErrno();
  if (S_ISDIR(info.st_mode)) ThrowErrno(EISDIR);
  if (!S_ISREG(info.st_mode)) ThrowNotARegularFile();
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) ThrowLastErrno();
  return file;
}

std::unique_ptr<FileReplacement> PosixFileSystem::Replace(const std::string& path) {
  const std::string resolved = ResolveTarget(path);
  if (resolved != path) CheckLinkMayBeFollowed(path, resolved);
  std::string folder;
  std::string name;
  SplitPath(resolved, folder, name);
  struct stat info {};
  if (stat(resolved.c_str(), &info) != 0) {
    if (errno != ENOENT) ThrowLastErrno();
    return CreateRenamingReplacement(OpenFolder(folder), name, NewFileMode());
  }
  if (S_ISDIR(info.st_mode)) ThrowErrno(EISDIR);
  if (!S_ISREG(info.st_mode)) ThrowNotARegularFile();
  CheckWritable(resolved, info);
  int folderFd = OpenFolder(folder);
  if (RenameChangesNothingElse(folderFd, resolved, info)) {
    return CreateRenamingReplacement(folderFd, name, info.st_mode & 07777);
  }
  return CreateInPlaceReplacement(folderFd, name, info);
}

}  // namespace pellox
