#include "platform/linux/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <set>
#include <string>

#include "child_process.h"
#include "common/errors.h"
#include "file_test_support.h"
#include "platform/linux/errno_in_out_error.h"
#include "temp_folder.h"

namespace pellox::testing {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// A listening UNIX socket at `path`; the descriptor stays open.
int ListenAt(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 1) != 0) {
    return -1;
  }
  return fd;
}

struct ErrnoCase {
  const char* Label;
  int Errno;
  int Code;
};

class ErrnoMappingTest : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoMappingTest, MapsToTheWindowsCode) {
  EXPECT_EQ(ErrnoToInOutCode(GetParam().Errno), GetParam().Code) << GetParam().Label;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoMappingTest,
    ::testing::Values(ErrnoCase{"ENOENT", ENOENT, 2}, ErrnoCase{"ENOTDIR", ENOTDIR, 3},
                      ErrnoCase{"EMFILE", EMFILE, 4}, ErrnoCase{"ENFILE", ENFILE, 4},
                      ErrnoCase{"EACCES", EACCES, 5}, ErrnoCase{"EPERM", EPERM, 5},
                      ErrnoCase{"EROFS", EROFS, 5}, ErrnoCase{"EISDIR", EISDIR, 5},
                      ErrnoCase{"ENOSPC", ENOSPC, 101},
                      ErrnoCase{"EOVERFLOW", EOVERFLOW, EOVERFLOW},
                      ErrnoCase{"ENAMETOOLONG", ENAMETOOLONG, ENAMETOOLONG},
                      ErrnoCase{"ELOOP", ELOOP, ELOOP}),
    [](const ::testing::TestParamInfo<ErrnoCase>& test) { return std::string(test.param.Label); });

TEST(ErrnoMappingTest, UnmappedErrnoGivesTheNumberedMessage) {
  EXPECT_EQ(EInOutError(ErrnoToInOutCode(ETIMEDOUT)).Message(),
            "I/O エラー (" + std::to_string(ETIMEDOUT) + ")");
}

// Every errno without a place in the table keeps its own number in the
// numbered message, also where that number is a Windows code with a text
// of its own (EIO is 5, "access denied").
TEST(ErrnoMappingTest, AnUnmappedErrnoNeverShowsAnotherCodesText) {
  const auto messageOf = [](int errnoValue) {
    try {
      ThrowInOutErrno(errnoValue);
    } catch (const EInOutError& error) {
      return error.Message();
    }
    return std::string();
  };
  struct Colliding {
    const char* Label;
    int Errno;
  };
  for (const Colliding& c :
       {Colliding{"ESRCH", ESRCH}, Colliding{"EINTR", EINTR}, Colliding{"EIO", EIO},
        Colliding{"ENETDOWN", ENETDOWN}, Colliding{"ENETUNREACH", ENETUNREACH},
        Colliding{"EISCONN", EISCONN}}) {
    EXPECT_EQ(messageOf(c.Errno), "I/O エラー (" + std::to_string(c.Errno) + ")") << c.Label;
  }
  const std::set<int> mapped = {ENOENT, ENOTDIR, EMFILE, ENFILE, EACCES,
                                EPERM,  EROFS,   EISDIR, ENOSPC};
  for (int errnoValue = 1; errnoValue < 4096; ++errnoValue) {
    const std::string expected = mapped.contains(errnoValue)
                                     ? EInOutError(ErrnoToInOutCode(errnoValue)).Message()
                                     : "I/O エラー (" + std::to_string(errnoValue) + ")";
    EXPECT_EQ(messageOf(errnoValue), expected) << errnoValue;
  }
}

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void Save(const std::string& target, const std::string& contents) {
    testing::Save(files_, target, contents);
  }
  std::string ReadAll(const std::string& path) { return testing::ReadThrough(files_, path); }

  TempFolder folder_;
  PosixFileSystem files_;
};

TEST_F(PosixFileSystemTest, ReadsAWholeFile) {
  const std::string contents("1\r\n2\r\n\x1a\0tail", 12);
  WriteFile(folder_ / "list.lst", contents);
  EXPECT_EQ(ReadAll(folder_ / "list.lst"), contents);
}

TEST_F(PosixFileSystemTest, OpenFailureCodes) {
  ASSERT_EQ(mkdir((folder_ / "sub").c_str(), 0700), 0);
  WriteFile(folder_ / "plain", "x");
  struct Case {
    const char* Label;
    std::string Path;
    int Code;
  };
  const Case cases[] = {
      {"missing file", folder_ / "missing.lst", 2},
      {"missing folder", folder_ / "nofolder/list.lst", 3},
      {"a folder", folder_ / "sub", 5},
      {"a file used as folder", folder_ / "plain/list.lst", 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CodeOf([&] { files_.OpenForReading(c.Path); }), c.Code) << c.Label;
  }
}

// Each open runs in a child with a bounded wait, so a call that blocks (a
// FIFO without a writer) fails the test instead of hanging it. A socket
// cannot even be opened (ENXIO); everything else is refused like a folder.
TEST_F(PosixFileSystemTest, WhatIsNoRegularFileIsRefusedAtOnce) {
  ASSERT_EQ(mkfifo((folder_ / "fifo.lst").c_str(), 0600), 0);
  const int listening = ListenAt(folder_ / "socket.lst");
  ASSERT_GE(listening, 0);
  ASSERT_EQ(symlink("/dev/zero", (folder_ / "zero.lst").c_str()), 0);
  struct Case {
    std::string Path;
    int Code;
  };
  const Case cases[] = {{"/dev/zero", 5},
                        {"/dev/null", 5},
                        {folder_ / "zero.lst", 5},
                        {folder_ / "fifo.lst", 5},
                        {folder_ / "socket.lst", ENXIO}};
  for (const Case& c : cases) {
    EXPECT_EQ(InChild([&] { return CodeOf([&] { PosixFileSystem().OpenForReading(c.Path); }); }),
              c.Code)
        << c.Path;
  }
  close(listening);
}

TEST_F(PosixFileSystemTest, AReadFileDoesNotBlock) {
  WriteFile(folder_ / "list.lst", "0\r\n0\r\n");
  std::unique_ptr<File> file = files_.OpenForReading(folder_ / "list.lst");
  char buffer[16];
  EXPECT_EQ(file->Read(buffer, sizeof buffer), 6u);
  EXPECT_EQ(file->Read(buffer, sizeof buffer), 0u);
}

TEST_F(PosixFileSystemTest, TooLongPathFailsInsteadOfBeingCut) {
  // A name over NAME_MAX whose first 255 bytes name an existing file.
  const std::string shortName(255, 'a');
  WriteFile(folder_ / shortName, "old");
  const std::string longPath = folder_ / (shortName + "b");
  EXPECT_EQ(CodeOf([&] { files_.OpenForReading(longPath); }), ENAMETOOLONG);
  EXPECT_EQ(CodeOf([&] { files_.Replace(longPath); }), ENAMETOOLONG);
  EXPECT_EQ(ReadFile(folder_ / shortName), "old");
}

// The temporary file must not need a longer name than the target's.
TEST_F(PosixFileSystemTest, NamesUpToTheLongestLegalOneSave) {
  for (size_t length : {1u, 240u, 248u, 250u, 255u}) {
    const std::string path = folder_ / std::string(length, 'n');
    EXPECT_EQ(CodeOf([&] { Save(path, "new"); }), 0) << length;
    EXPECT_EQ(CodeOf([&] { Save(path, "newer"); }), 0) << length;
    EXPECT_EQ(ReadFile(path), "newer") << length;
  }
}

TEST_F(PosixFileSystemTest, SaveCreatesTheFileAndLeavesNothingElse) {
  const std::string target = folder_ / "new.lst";
  const std::string contents = "0\r\n1\r\n5\r\n/bin/true\r\n\r\n";
  Save(target, contents);
  EXPECT_EQ(ReadAll(target), contents);
  EXPECT_EQ(NamesIn(folder_.Path()), std::vector<std::string>{"new.lst"});
}

TEST_F(PosixFileSystemTest, NothingIsCreatedBeforeTheCommit) {
  const std::string target = folder_ / "new.lst";
  {
    std::unique_ptr<FileReplacement> output = files_.Replace(target);
    output->Write("0\r\n0\r\n", 6);
  }
  EXPECT_TRUE(NamesIn(folder_.Path()).empty());
}

TEST_F(PosixFileSystemTest, TwoSavesAtOnceDoNotMeet) {
  const std::string target = folder_ / "x.lst";
  std::unique_ptr<FileReplacement> first = files_.Replace(target);
  std::unique_ptr<FileReplacement> second = files_.Replace(target);
  first->Write("first", 5);
  second->Write("second", 6);
  first->Commit();
  EXPECT_EQ(ReadFile(target), "first");
  second->Commit();
  EXPECT_EQ(ReadFile(target), "second");
  EXPECT_EQ(NamesIn(folder_.Path()), std::vector<std::string>{"x.lst"});
}

TEST_F(PosixFileSystemTest, NewFileGetsTheUsualPermissions) {
  const mode_t old = umask(027);
  Save(folder_ / "fresh.lst", "0\r\n0\r\n");
  umask(old);
  EXPECT_EQ(ModeOf(folder_ / "fresh.lst"), 0640u);
}

TEST_F(PosixFileSystemTest, ReplaceKeepsTheTargetsPermissionBits) {
  const std::string target = folder_ / "kept.lst";
  WriteFile(target, "old");
  ASSERT_EQ(chmod(target.c_str(), 0741), 0);
  Save(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(ModeOf(target), 0741u);
}

TEST_F(PosixFileSystemTest, LinkStaysALinkAndItsFileGetsTheNewContents) {
  ASSERT_EQ(mkdir((folder_ / "real").c_str(), 0700), 0);
  const std::string real = folder_ / "real/list.lst";
  WriteFile(real, "old");
  ASSERT_EQ(chmod(real.c_str(), 0604), 0);
  const std::string link = folder_ / "link.lst";
  ASSERT_EQ(symlink("real/list.lst", link.c_str()), 0);

  Save(link, "new");
  EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
  EXPECT_EQ(ReadFile(real), "new");
  EXPECT_EQ(ModeOf(real), 0604u);
  EXPECT_EQ(NamesIn(folder_ / "real"), std::vector<std::string>{"list.lst"});
}

TEST_F(PosixFileSystemTest, DanglingLinkCreatesTheFileItNames) {
  const std::string link = folder_ / "dangling.lst";
  ASSERT_EQ(symlink("made.lst", link.c_str()), 0);
  Save(link, "new");
  EXPECT_EQ(ReadFile(folder_ / "made.lst"), "new");
  EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
}

TEST_F(PosixFileSystemTest, CreateInMissingFolderFails) {
  EXPECT_EQ(CodeOf([&] { files_.Replace(folder_ / "nofolder/x.lst"); }), 3);
  EXPECT_EQ(CodeOf([&] { files_.Replace(folder_ / "nofolder/x.lst/y.lst"); }), 3);
}

TEST_F(PosixFileSystemTest, ReplacingAReadOnlyFileFailsAndKeepsOldContents) {
  const std::string target = folder_ / "readonly.lst";
  WriteFile(target, "old");
  ASSERT_EQ(chmod(target.c_str(), 0444), 0);
  EXPECT_EQ(CodeOf([&] { Save(target, "new"); }), 5);
  EXPECT_EQ(ReadFile(target), "old");
}

TEST_F(PosixFileSystemTest, ReplacingAFolderFailsAndKeepsIt) {
  const std::string target = folder_ / "dir.lst";
  ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
  WriteFile(target + "/inside", "kept");
  EXPECT_EQ(CodeOf([&] { Save(target, "new"); }), 5);
  EXPECT_EQ(ReadFile(target + "/inside"), "kept");
}

// A save onto a FIFO, a socket or a device node (as root it could replace
// one) is refused at once, and the node stays what it was.
TEST_F(PosixFileSystemTest, ASaveOntoWhatIsNoRegularFileIsRefused) {
  ASSERT_EQ(mkfifo((folder_ / "fifo.lst").c_str(), 0666), 0);
  const int listening = ListenAt(folder_ / "socket.lst");
  ASSERT_GE(listening, 0);
  std::vector<std::string> nodes = {folder_ / "fifo.lst", folder_ / "socket.lst"};
  // A node like /dev/null's; only root may make one.
  if (mknod((folder_ / "null.lst").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    nodes.push_back(folder_ / "null.lst");
  }
  ASSERT_EQ(symlink("fifo.lst", (folder_ / "link.lst").c_str()), 0);
  nodes.push_back(folder_ / "link.lst");
  for (const std::string& node : nodes) {
    const mode_t type = StatOf(node).st_mode & S_IFMT;
    EXPECT_EQ(InChild([&] { return CodeOf([&] { Save(node, "new"); }); }), 5) << node;
    EXPECT_EQ(StatOf(node).st_mode & S_IFMT, type) << node;
  }
  close(listening);
}

}  // namespace
}  // namespace pellox::testing
