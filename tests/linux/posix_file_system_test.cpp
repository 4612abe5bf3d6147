#include "platform/linux/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

#include "common/errors.h"
#include "temp_folder.h"

namespace pellox {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// The EInOutError code a call raises, or 0 when it raises nothing.
int CodeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const EInOutError& e) {
    return e.ErrorCode();
  }
  return 0;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
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
    [](const ::testing::TestParamInfo<ErrnoCase>& info) { return std::string(info.param.Label); });

TEST(ErrnoMappingTest, UnmappedErrnoGivesTheNumberedMessage) {
  EXPECT_EQ(EInOutError(ErrnoToInOutCode(ETIMEDOUT)).Message(),
            "I/O エラー (" + std::to_string(ETIMEDOUT) + ")");
}

class PosixFileSystemTest : public ::testing::Test {
 protected:
  // Saves `contents` to `target` the way a list is saved.
  void Save(const std::string& target, const std::string& contents) {
    std::string tempPath;
    std::unique_ptr<File> file = files_.CreateTempBeside(target, tempPath);
    file->Write(contents.data(), contents.size());
    file->Close();
    files_.Replace(tempPath, target);
  }

  std::string ReadAll(const std::string& path) {
    std::unique_ptr<File> file = files_.OpenForReading(path);
    std::string contents;
    char buffer[7];  // small on purpose: several reads per file
    while (size_t count = file->Read(buffer, sizeof buffer)) contents.append(buffer, count);
    file->Close();
    return contents;
  }

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

TEST_F(PosixFileSystemTest, TooLongPathFailsInsteadOfBeingCut) {
  // A name over NAME_MAX whose first 255 bytes name an existing file.
  const std::string shortName(255, 'a');
  WriteFile(folder_ / shortName, "old");
  const std::string longPath = folder_ / (shortName + "b");
  EXPECT_EQ(CodeOf([&] { files_.OpenForReading(longPath); }), ENAMETOOLONG);
  std::string tempPath;
  EXPECT_EQ(CodeOf([&] { files_.CreateTempBeside(longPath, tempPath); }), ENAMETOOLONG);
  EXPECT_EQ(ReadFile(folder_ / shortName), "old");
}

TEST_F(PosixFileSystemTest, SaveRoundTripCreatesTheFileAndNoTempStaysBehind) {
  const std::string target = folder_ / "new.lst";
  std::string tempPath;
  std::unique_ptr<File> file = files_.CreateTempBeside(target, tempPath);
  EXPECT_EQ(tempPath.rfind(folder_.Path() + "/.new.lst.", 0), 0u) << tempPath;
  const std::string contents = "0\r\n1\r\n5\r\n/bin/true\r\n\r\n";
  file->Write(contents.data(), contents.size());
  file->Close();
  files_.Replace(tempPath, target);
  EXPECT_EQ(ReadAll(target), contents);
  EXPECT_FALSE(Exists(tempPath));
}

TEST_F(PosixFileSystemTest, TempFilesAreUnique) {
  std::string first;
  std::string second;
  auto a = files_.CreateTempBeside(folder_ / "x.lst", first);
  auto b = files_.CreateTempBeside(folder_ / "x.lst", second);
  EXPECT_NE(first, second);
  EXPECT_TRUE(Exists(first));
  EXPECT_TRUE(Exists(second));
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

  std::string tempPath;
  files_.CreateTempBeside(link, tempPath)->Close();
  EXPECT_EQ(tempPath.rfind(folder_.Path() + "/real/.list.lst.", 0), 0u) << tempPath;
  files_.Remove(tempPath);

  Save(link, "new");
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(ReadFile(real), "new");
  EXPECT_EQ(ModeOf(real), 0604u);
}

TEST_F(PosixFileSystemTest, DanglingLinkCreatesTheFileItNames) {
  const std::string link = folder_ / "dangling.lst";
  ASSERT_EQ(symlink("made.lst", link.c_str()), 0);
  Save(link, "new");
  EXPECT_EQ(ReadFile(folder_ / "made.lst"), "new");
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(PosixFileSystemTest, CreateInMissingFolderFails) {
  std::string tempPath;
  EXPECT_EQ(CodeOf([&] { files_.CreateTempBeside(folder_ / "nofolder/x.lst", tempPath); }), 3);
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

TEST_F(PosixFileSystemTest, ReplaceWithMissingSourceFailsAndKeepsOldContents) {
  const std::string target = folder_ / "list.lst";
  WriteFile(target, "old");
  EXPECT_EQ(CodeOf([&] { files_.Replace(folder_ / ".gone", target); }), 2);
  EXPECT_EQ(ReadFile(target), "old");
}

TEST_F(PosixFileSystemTest, RemoveIgnoresMissingFiles) {
  WriteFile(folder_ / "doomed", "x");
  files_.Remove(folder_ / "doomed");
  EXPECT_FALSE(Exists(folder_ / "doomed"));
  files_.Remove(folder_ / "doomed");
  files_.Remove(folder_ / "nofolder/doomed");
}

// Runs `body` in a child process as the user nobody; the child's exit code
// is what `body` returns. Needs root to change user.
int AsNobody(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(200);
    _exit(body());
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class PermissionTest : public PosixFileSystemTest {
 protected:
  void SetUp() override {
    if (geteuid() != 0) {
      // Without root the test runs as the file's owner, who may write anyway.
      GTEST_SKIP() << "permission tests switch to user nobody and need root";
    }
    // Let nobody reach the folder.
    ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
  }
};

TEST_F(PermissionTest, ReadOnlyFolderRefusesTheTempFileAndKeepsTheList) {
  const std::string locked = folder_ / "locked";
  ASSERT_EQ(mkdir(locked.c_str(), 0755), 0);
  WriteFile(locked + "/list.lst", "old");
  ASSERT_EQ(chmod((locked + "/list.lst").c_str(), 0666), 0);
  int code = AsNobody([&] {
    std::string tempPath;
    return CodeOf([&] { PosixFileSystem().CreateTempBeside(locked + "/list.lst", tempPath); });
  });
  EXPECT_EQ(code, 5);
  EXPECT_EQ(ReadFile(locked + "/list.lst"), "old");
}

TEST_F(PermissionTest, UnreadableFileRefusesToOpen) {
  const std::string secret = folder_ / "secret.lst";
  WriteFile(secret, "x");
  ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
  EXPECT_EQ(AsNobody([&] { return CodeOf([&] { PosixFileSystem().OpenForReading(secret); }); }), 5);
}

TEST_F(PermissionTest, UnreachableFolderRefusesToOpen) {
  const std::string closed = folder_ / "closed";
  ASSERT_EQ(mkdir(closed.c_str(), 0700), 0);
  WriteFile(closed + "/list.lst", "x");
  EXPECT_EQ(AsNobody([&] {
              return CodeOf([&] { PosixFileSystem().OpenForReading(closed + "/list.lst"); });
            }),
            5);
}

}  // namespace
}  // namespace pellox
