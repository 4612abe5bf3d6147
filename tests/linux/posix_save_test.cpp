// How a save treats what it was not asked to change: owners, groups, hard
// links, a folder the user may not write, a full disk, a save that is
// killed, and the folder entry that must last. The permission cases run
// as user nobody.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "file_test_support.h"
#include "platform/linux/posix_file_system.h"
#include "temp_folder.h"

namespace {

// Every fsync of this test program is noted with what the folder `watched`
// and its file `watchedFile` looked like at that moment.
struct FolderSync {
  ino_t Folder;
  std::string FileContents;
};
std::string watchedFile;
std::vector<FolderSync> folderSyncs;

}  // namespace

// Stands in for the C library's fsync in this test program, to see which
// folders are synced and when; the real call follows.
extern "C" int fsync(int fd) {
  struct stat info {};
  if (!watchedFile.empty() && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    folderSyncs.push_back({info.st_ino, pellox::testing::ReadFile(watchedFile)});
  }
  return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace pellox::testing {
namespace {

class SaveTest : public ::testing::Test {
 protected:
  // `mode` for a file `owner`:`group` holding "old".
  std::string OldFile(const std::string& name, uid_t owner, gid_t group, mode_t mode) {
    std::string path = folder_ / name;
    WriteFile(path, "old");
    EXPECT_EQ(chown(path.c_str(), owner, group), 0);
    EXPECT_EQ(chmod(path.c_str(), mode), 0);
    return path;
  }

  // Saves "new" to `path` as user nobody; the error code, 0 on success.
  int SaveAsNobody(const std::string& path) {
    return AsNobody([&] { return CodeOf([&] { Save(path, "new"); }); });
  }

  TempFolder folder_;
};

class PermissionTest : public SaveTest {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "these tests switch to user nobody and need root";
    // Nobody may enter the folder and, unless a test says otherwise, write it.
    ASSERT_EQ(chmod(folder_.Path().c_str(), 0777), 0);
  }
};

TEST_F(PermissionTest, AFileOfAnotherOwnerKeepsItsOwner) {
  const std::string path = OldFile("list.lst", 0, 0, 0666);
  EXPECT_EQ(SaveAsNobody(path), 0);
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(StatOf(path).st_uid, 0u);
  EXPECT_EQ(StatOf(path).st_gid, 0u);
}

TEST_F(PermissionTest, AGroupWritableFileKeepsItsGroup) {
  const std::string path = OldFile("team.lst", kNobody, kUsersGroup, 0664);
  EXPECT_EQ(SaveAsNobody(path), 0);
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(StatOf(path).st_gid, kUsersGroup);
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0664u);
}

TEST_F(PermissionTest, SetIdBitsNeverGoToANewOwner) {
  const std::string path = OldFile("setid.lst", 0, 0, 06777);
  EXPECT_EQ(SaveAsNobody(path), 0);
  EXPECT_EQ(ReadFile(path), "new");
  const struct stat info = StatOf(path);
  EXPECT_EQ(info.st_uid, 0u);
  EXPECT_FALSE(info.st_uid == kNobody && (info.st_mode & (S_ISUID | S_ISGID)) != 0);
}

TEST_F(PermissionTest, AWritableFileInAFolderTheUserMayNotWriteSaves) {
  const std::string path = OldFile("list.lst", 0, 0, 0666);
  ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
  EXPECT_EQ(SaveAsNobody(path), 0);
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(NamesIn(folder_.Path()), std::vector<std::string>{"list.lst"});
}

TEST_F(PermissionTest, ANewFileInAFolderTheUserMayNotWriteIsRefused) {
  ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
  EXPECT_EQ(SaveAsNobody(folder_ / "new.lst"), 5);
  EXPECT_TRUE(NamesIn(folder_.Path()).empty());
}

TEST_F(PermissionTest, AFileTheUserMayNotWriteIsRefusedAndKept) {
  const std::string path = OldFile("list.lst", 0, 0, 0644);
  EXPECT_EQ(SaveAsNobody(path), 5);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(NamesIn(folder_.Path()), std::vector<std::string>{"list.lst"});
}

TEST_F(PermissionTest, TheUsersOwnFileIsReplacedWhole) {
  const std::string path = OldFile("own.lst", kNobody, kNogroup, 0640);
  const ino_t before = StatOf(path).st_ino;
  EXPECT_EQ(SaveAsNobody(path), 0);
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_NE(StatOf(path).st_ino, before);  // renamed, not overwritten
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
  EXPECT_EQ(StatOf(path).st_uid, kNobody);
}

TEST_F(SaveTest, HardLinksStayLinked) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  ASSERT_EQ(link(path.c_str(), (folder_ / "other-name.lst").c_str()), 0);
  Save(path, "new");
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(ReadFile(folder_ / "other-name.lst"), "new");
  EXPECT_EQ(StatOf(path).st_nlink, 2u);
}

TEST_F(SaveTest, ExtendedAttributesStay) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  if (setxattr(path.c_str(), "user.pellox-test", "kept", 4, 0) != 0) {
    GTEST_SKIP() << "no user attributes here: " << strerror(errno);
  }
  Save(path, "new");
  EXPECT_EQ(ReadFile(path), "new");
  char value[8] = {};
  EXPECT_EQ(getxattr(path.c_str(), "user.pellox-test", value, sizeof value), 4);
  EXPECT_STREQ(value, "kept");
}

TEST_F(SaveTest, AnInPlaceSaveThatIsDroppedPutsTheOldContentsBack) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old contents, longer than the new ones");
  ASSERT_EQ(link(path.c_str(), (folder_ / "other-name.lst").c_str()), 0);
  PosixFileSystem files;
  {
    std::unique_ptr<FileReplacement> output = files.Replace(path);
    output->Write("new", 3);
  }
  EXPECT_EQ(ReadFile(path), "old contents, longer than the new ones");
}

// A tmpfs of a few pages, mounted for the test.
class FullDiskTest : public SaveTest {
 protected:
  void SetUp() override {
    mountPoint_ = folder_ / "disk";
    ASSERT_EQ(mkdir(mountPoint_.c_str(), 0700), 0);
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=64k,mode=0777") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here: " << strerror(errno);
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount2(mountPoint_.c_str(), MNT_DETACH);
  }

  std::string mountPoint_;
  bool mounted_ = false;
  const std::string big_ = std::string(size_t{256} * 1024, 'x');
};

TEST_F(FullDiskTest, ARenamingSaveFailsWithCode101AndKeepsTheOldList) {
  const std::string path = mountPoint_ + "/list.lst";
  WriteFile(path, "old");
  EXPECT_EQ(CodeOf([&] { Save(path, big_); }), 101);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(NamesIn(mountPoint_), std::vector<std::string>{"list.lst"});
}

TEST_F(FullDiskTest, AnInPlaceSaveFailsWithCode101AndPutsTheOldListBack) {
  const std::string path = mountPoint_ + "/list.lst";
  const std::string old = std::string(20000, 'o');
  WriteFile(path, old);
  ASSERT_EQ(link(path.c_str(), (mountPoint_ + "/other-name.lst").c_str()), 0);
  EXPECT_EQ(CodeOf([&] { Save(path, big_); }), 101);
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(ReadFile(mountPoint_ + "/other-name.lst"), old);
}

TEST_F(FullDiskTest, AnInPlaceSaveByAnotherUserFailsWithCode101AndPutsTheOldListBack) {
  if (geteuid() != 0) GTEST_SKIP() << "switches to user nobody and needs root";
  ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
  const std::string path = mountPoint_ + "/list.lst";
  const std::string old = std::string(20000, 'o');
  WriteFile(path, old);
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  EXPECT_EQ(AsNobody([&] { return CodeOf([&] { Save(path, big_); }); }), 101);
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(StatOf(path).st_uid, 0u);
}

// A save of `path` in a child process that stops once it wrote `contents`
// and waits there until Kill() or the end of the test. With `hideProc` the
// child first hides /proc in a mount namespace of its own.
class StalledSave {
 public:
  StalledSave(const std::string& path, const std::string& contents, bool hideProc) {
    int ready[2];
    if (pipe(ready) != 0) return;
    const pid_t pid = fork();
    if (pid == 0) {
      if (hideProc && (unshare(CLONE_NEWNS) != 0 ||
                       mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                       umount2("/proc", MNT_DETACH) != 0)) {
        _exit(1);
      }
      PosixFileSystem files;
      std::unique_ptr<FileReplacement> output = files.Replace(path);
      output->Write(contents.data(), contents.size());
      (void)!write(ready[1], "w", 1);
      for (;;) pause();  // killed in the middle of the save
    }
    close(ready[1]);
    char byte = 0;
    const bool started = pid > 0 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (started) {
      pid_ = pid;
    } else if (pid > 0) {
      waitpid(pid, nullptr, 0);
    }
  }
  ~StalledSave() { Kill(); }
  StalledSave(const StalledSave&) = delete;
  StalledSave& operator=(const StalledSave&) = delete;

  // Whether the child got as far as writing; it has ended otherwise.
  bool Started() const { return pid_ > 0; }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

TEST_F(SaveTest, AKilledSaveLeavesNothingBehind) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  StalledSave save(path, std::string(1 << 20, 'x'), false);
  ASSERT_TRUE(save.Started());
  save.Kill();
  EXPECT_EQ(NamesIn(folder_.Path()), std::vector<std::string>{"list.lst"});
  EXPECT_EQ(ReadFile(path), "old");
}

TEST_F(SaveTest, TheNextSaveRemovesWhatAKilledSaveLeftButNoSaveInProgress) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  // Left by a save killed on a file system without unnamed files.
  WriteFile(folder_ / ".pellox-Ab3dE9", "half a list");
  // Held by a save still in progress.
  WriteFile(folder_ / ".pellox-Busy01", "being written");
  const int busy = open((folder_ / ".pellox-Busy01").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(busy, LOCK_EX), 0);
  // Not ours: other names are never touched.
  WriteFile(folder_ / ".pellox-notes", "mine");
  WriteFile(folder_ / ".list.lst.Xy12Zq", "someone's");

  Save(path, "new");
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(NamesIn(folder_.Path()), (std::vector<std::string>{".list.lst.Xy12Zq", ".pellox-Busy01",
                                                               ".pellox-notes", "list.lst"}));
  close(busy);
}

// Without /proc a temporary file cannot be linked in later, so it gets its
// name at once: the next save leaves it alone while its save runs, and
// removes it once that save was killed.
TEST_F(SaveTest, ANamedTempFileIsKeptWhileItsSaveRunsAndRemovedAfterItWasKilled) {
  if (geteuid() != 0) GTEST_SKIP() << "hides /proc in a mount namespace of its own; needs root";
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  StalledSave save(path, "half", true);
  if (!save.Started()) GTEST_SKIP() << "cannot hide /proc here";
  const std::vector<std::string> during = NamesIn(folder_.Path());
  ASSERT_EQ(during.size(), 2u);
  EXPECT_EQ(during[0].rfind(".pellox-", 0), 0u) << during[0];

  Save(folder_ / "other.lst", "x");
  EXPECT_EQ(NamesIn(folder_.Path()),
            (std::vector<std::string>{during[0], "list.lst", "other.lst"}));

  save.Kill();
  Save(path, "new");
  EXPECT_EQ(NamesIn(folder_.Path()), (std::vector<std::string>{"list.lst", "other.lst"}));
  EXPECT_EQ(ReadFile(path), "new");
}

TEST_F(SaveTest, TheFolderIsSyncedAfterTheRename) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  watchedFile = path;
  folderSyncs.clear();
  Save(path, "new");
  watchedFile.clear();
  ASSERT_FALSE(folderSyncs.empty());
  EXPECT_EQ(folderSyncs.back().Folder, StatOf(folder_.Path()).st_ino);
  EXPECT_EQ(folderSyncs.back().FileContents, "new");
}

}  // namespace
}  // namespace pellox::testing
