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

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "file_test_support.h"
#include "form_harness.h"
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
// Non-zero: every fsync of a folder fails with this errno.
int folderSyncError = 0;

}  // namespace

// Stands in for the C library's fsync in this test program, to see which
// folders are synced and when; the real call follows.
extern "C" int fsync(int fd) {
  struct stat info {};
  if (!watchedFile.empty() && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    folderSyncs.push_back({info.st_ino, pellox::testing::ReadFile(watchedFile)});
  }
  if (folderSyncError != 0 && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = folderSyncError;
    return -1;
  }
  return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace pellox::testing {
namespace {

class SaveTest : public ::testing::Test {
 protected:
  // Kept copies that cannot go beside a list go to a cache folder of the
  // test's own, which any user may write.
  SaveTest() { setenv("XDG_CACHE_HOME", cache_.Path().c_str(), 1); }
  ~SaveTest() override { unsetenv("XDG_CACHE_HOME"); }

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

  // The kept copies in the cache folder.
  std::vector<std::string> CachedCopies() {
    return Exists(cache_ / "pellox") ? NamesIn(cache_ / "pellox") : std::vector<std::string>{};
  }

  TempFolder folder_;
  TempFolder cache_{"", 0777};
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
  // The old list was kept in the cache folder while the file was written.
  EXPECT_TRUE(Exists(cache_ / "pellox"));
  EXPECT_TRUE(CachedCopies().empty());
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

// A name with no room for the kept copy's ending beside it: the copy goes
// to the cache folder, and stays there, complete, when the save is killed
// while the list does not load.
TEST_F(SaveTest, AKilledInPlaceSaveLeavesTheOldListInTheCacheWhenItHasNoRoomBeside) {
  const std::string name(255, 'n');
  const std::string path = folder_ / name;
  WriteFile(path, "0\r\n1\r\n1\r\nold\r\n\r\n");
  ASSERT_EQ(link(path.c_str(), (folder_ / "second").c_str()), 0);
  StalledSave save(path, "0\r\n1\r\n1\r\nnew-program", false);
  ASSERT_TRUE(save.Started());
  save.Kill();
  EXPECT_EQ(ReadFile(path)[0], '\x1a');
  const std::vector<std::string> copies = CachedCopies();
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0], name.substr(0, 200) + ".pellox-kept.lst");
  EXPECT_EQ(ReadFile(cache_ / ("pellox/" + copies[0])), "0\r\n1\r\n1\r\nold\r\n\r\n");
  EXPECT_EQ(NamesIn(folder_.Path()), (std::vector<std::string>{name, "second"}));
}

TEST_F(SaveTest, AKilledSaveLeavesNothingBehind) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  StalledSave save(path, std::string(1 << 20, 'x'), false);
  ASSERT_TRUE(save.Started());
  save.Kill();
  EXPECT_EQ(NamesIn(folder_.Path()), std::vector<std::string>{"list.lst"});
  EXPECT_EQ(ReadFile(path), "old");
}

// Nothing proves whose a file is that merely looks like a temporary file of
// a save: the user's own files beside the list stay, whatever their names,
// and so does what a killed save left.
TEST_F(SaveTest, ASaveRemovesNoFileItDidNotMakeItself) {
  const std::string path = folder_ / "list.lst";
  WriteFile(path, "old");
  const std::vector<std::string> others = {".list.lst.Xy12Zq", ".pellox-Ab3dE9", ".pellox-backup",
                                           ".pellox-notes", "list.lst.pellox-kept.lst"};
  for (const std::string& name : others) WriteFile(folder_ / name, "the user's " + name);
  ASSERT_EQ(link(path.c_str(), (folder_ / "second-name").c_str()), 0);

  Save(path, "new");  // in place: a kept copy beside it, under another name
  ASSERT_EQ(unlink((folder_ / "second-name").c_str()), 0);
  Save(path, "newer");  // renamed
  EXPECT_EQ(ReadFile(path), "newer");
  std::vector<std::string> expected = others;
  expected.push_back("list.lst");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(NamesIn(folder_.Path()), expected);
  for (const std::string& name : others) EXPECT_EQ(ReadFile(folder_ / name), "the user's " + name);
}

// Without /proc a temporary file cannot be linked in later, so it gets its
// name at once: other saves leave it alone while its save runs, and after
// that save was killed too, since nothing then proves it was a save's.
TEST_F(SaveTest, ANamedTempFileOfAKilledSaveIsLeftAlone) {
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
  EXPECT_EQ(NamesIn(folder_.Path()),
            (std::vector<std::string>{during[0], "list.lst", "other.lst"}));
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

// The new list is in the file once the rename is done: a failing folder
// sync after it is reported with its own error, and Save As takes the new
// name, so that the program's state matches the file.
TEST_F(SaveTest, AFailureAfterTheRenameIsReportedAndSaveAsTakesTheName) {
  PosixFileSystem files;
  FormHarness h({.files = &files});
  h.Show();
  h.Add("1", "/bin/true");
  const std::string path = folder_ / "new.lst";
  h.ui.AnswerDialog(DialogId::SaveDialog1, {path, 1});
  folderSyncError = EIO;
  h.form.Dispatch(FormEvent::MnuSaveAsClick);
  folderSyncError = 0;
  EXPECT_EQ(ReadFile(path), "0\r\n1\r\n1\r\n/bin/true\r\n\r\n");
  EXPECT_EQ(h.form.ListFileName, path);
  EXPECT_EQ(h.ui.Caption(), "Pellox | " + path);
  ASSERT_EQ(h.ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Text, "I/O エラー (" + std::to_string(EIO) + ")");
}

// One of the kernel's fs.protected_* settings, set for a test and put back
// after it. They hold for the whole machine (no namespace has its own), so
// tests set them only to values that distributions ship.
class KernelSetting {
 public:
  KernelSetting(const std::string& name, const std::string& value)
      : path_("/proc/sys/fs/" + name), old_(ReadFile(path_, &ok_)) {
    ok_ = ok_ && Write(value);
  }
  ~KernelSetting() {
    if (ok_) Write(old_);
  }
  KernelSetting(const KernelSetting&) = delete;
  KernelSetting& operator=(const KernelSetting&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool Write(const std::string& value) const {
    const int fd = open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    const bool written =
        fd >= 0 && write(fd, value.data(), value.size()) == static_cast<ssize_t>(value.size());
    if (fd >= 0) close(fd);
    return written;
  }

  std::string path_;
  bool ok_ = false;
  std::string old_;
};

// Root saving into a sticky, world-writable folder like /tmp, where another
// user may have planted a link or a file: the save is refused exactly
// where the kernel refuses a shell's ">" (fs.protected_symlinks=1,
// fs.protected_regular=2), and follows the link or writes the file where
// the kernel lets it.
class StickyFolderTest : public SaveTest {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "saves as root into files of user nobody";
  }

  enum class Planted { LinkToFile, DanglingLink, File };
  struct Case {
    const char* Label;
    Planted What;
    uid_t Owner;
    bool Protected;
    int Code;
  };

  // Plants `c` as list.lst in the sticky folder; the file a link leads to
  // is root's, outside it.
  void Plant(const Case& c) {
    unlink(path_.c_str());
    unlink(made_.c_str());
    WriteFile(victim_, "root's own");
    if (c.What == Planted::File) {
      WriteFile(path_, "planted");
      ASSERT_EQ(chown(path_.c_str(), c.Owner, c.Owner), 0);
      ASSERT_EQ(chmod(path_.c_str(), 0666), 0);
    } else {
      ASSERT_EQ(symlink((c.What == Planted::LinkToFile ? victim_ : made_).c_str(), path_.c_str()),
                0);
      ASSERT_EQ(lchown(path_.c_str(), c.Owner, c.Owner), 0);
    }
  }

  // Whether the kernel refuses a shell's ">" onto the planted path.
  bool ShellRefused(const Case& c) {
    Plant(c);
    return RunCommand({"sh", "-c", "printf x > \"$0\"", path_}).ExitStatus != 0;
  }

  void Check(const Case& c) {
    SCOPED_TRACE(c.Label);
    const bool shellRefused = ShellRefused(c);
    Plant(c);
    EXPECT_EQ(CodeOf([&] { Save(path_, "new"); }), c.Code);
    EXPECT_EQ(c.Code == 5, shellRefused) << "the save and the kernel disagree";
    const std::string reached = c.What == Planted::LinkToFile     ? victim_
                                : c.What == Planted::DanglingLink ? made_
                                                                  : path_;
    if (c.Code == 0) {
      EXPECT_EQ(ReadFile(reached), "new");
    } else {
      EXPECT_EQ(ReadFile(victim_), "root's own");
      EXPECT_FALSE(Exists(made_));
      if (c.What == Planted::File) {
        EXPECT_EQ(ReadFile(path_), "planted");
      } else {
        EXPECT_TRUE(S_ISLNK(StatOf(path_).st_mode));
      }
    }
    if (c.What == Planted::File) {
      EXPECT_EQ(StatOf(path_).st_uid, c.Owner);
    }
  }

  TempFolder sticky_{"", 01777};
  const std::string path_ = sticky_ / "list.lst";
  const std::string victim_ = folder_ / "victim.lst";
  const std::string made_ = folder_ / "made.lst";
};

TEST_F(StickyFolderTest, TheSaveFollowsTheKernelsRulesThere) {
  const Case cases[] = {
      {"another user's link to root's file", Planted::LinkToFile, kNobody, true, 5},
      {"another user's dangling link", Planted::DanglingLink, kNobody, true, 5},
      {"another user's file", Planted::File, kNobody, true, 5},
      {"root's own link", Planted::LinkToFile, 0, true, 0},
      {"root's own dangling link", Planted::DanglingLink, 0, true, 0},
      {"root's own file", Planted::File, 0, true, 0},
      {"another user's link, unprotected", Planted::LinkToFile, kNobody, false, 0},
      {"another user's file, unprotected", Planted::File, kNobody, false, 0},
  };
  for (bool protect : {true, false}) {
    KernelSetting symlinks("protected_symlinks", protect ? "1" : "0");
    KernelSetting regular("protected_regular", protect ? "2" : "0");
    if (!symlinks.Ok() || !regular.Ok()) GTEST_SKIP() << "cannot set fs.protected_* here";
    for (const Case& c : cases) {
      if (c.Protected == protect) Check(c);
    }
  }
}

}  // namespace
}  // namespace pellox::testing
