// Win32FileSystem on real files.
#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include "common/errors.h"
#include "win32_test_support.h"

namespace pellox::win32 {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

int ErrorCodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EInOutError& error) {
    return error.ErrorCode();
  }
  return 0;
}

std::string ReadAll(File& file) {
  std::string bytes;
  char buffer[7];  // small, so that several reads are needed
  size_t n;
  while ((n = file.Read(buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
  return bytes;
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, MissingFileFailsWithCode2) {
  EXPECT_EQ(2, ErrorCodeOf([&] { files_.OpenForReading(folder_.File("none.lst")); }));
}

TEST_F(Win32FileSystemTest, MissingFolderFailsWithCode3) {
  EXPECT_EQ(3, ErrorCodeOf([&] { files_.OpenForReading(folder_.File("none\\a.lst")); }));
  std::string temp;
  EXPECT_EQ(3, ErrorCodeOf([&] { files_.CreateTempBeside(folder_.File("none\\a.lst"), temp); }));
}

TEST_F(Win32FileSystemTest, ReadsTheFileAndThenZeroAtTheEnd) {
  WriteWholeFile(folder_.File("a.lst"), "0\r\n1\r\n5\r\nprog.exe\r\n-x\r\n");
  std::unique_ptr<File> file = files_.OpenForReading(folder_.File("a.lst"));
  EXPECT_EQ("0\r\n1\r\n5\r\nprog.exe\r\n-x\r\n", ReadAll(*file));
  char byte;
  EXPECT_EQ(0u, file->Read(&byte, 1));
  file->Close();
}

TEST_F(Win32FileSystemTest, OpenForReadingSharesReadingOnly) {
  WriteWholeFile(folder_.File("a.lst"), "x");
  std::unique_ptr<File> file = files_.OpenForReading(folder_.File("a.lst"));
  std::unique_ptr<File> second = files_.OpenForReading(folder_.File("a.lst"));
  HANDLE writer = CreateFileA(folder_.File("a.lst").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  const DWORD code = GetLastError();
  EXPECT_EQ(INVALID_HANDLE_VALUE, writer);
  EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), code);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
}

TEST_F(Win32FileSystemTest, TempFileBesideTargetReplacesItWhole) {
  const std::string target = folder_.File("list.lst");
  WriteWholeFile(target, "old contents");
  std::string temp;
  std::unique_ptr<File> file = files_.CreateTempBeside(target, temp);
  EXPECT_EQ(folder_.Path(), temp.substr(0, folder_.Path().size()));
  EXPECT_NE(target, temp);
  file->Write("0\r\n0\r\n", 6);
  file->Close();
  EXPECT_EQ("old contents", ReadWholeFile(target));

  files_.Replace(temp, target);
  EXPECT_EQ("0\r\n0\r\n", ReadWholeFile(target));
  EXPECT_FALSE(testing::FileExists(temp));
}

TEST_F(Win32FileSystemTest, TwoTempFilesGetDifferentNames) {
  std::string first, second;
  std::unique_ptr<File> a = files_.CreateTempBeside(folder_.File("list.lst"), first);
  std::unique_ptr<File> b = files_.CreateTempBeside(folder_.File("list.lst"), second);
  EXPECT_NE(first, second);
  a->Close();
  b->Close();
}

TEST_F(Win32FileSystemTest, ReplaceOfAMissingSourceFails) {
  EXPECT_EQ(2, ErrorCodeOf([&] { files_.Replace(folder_.File("gone"), folder_.File("t.lst")); }));
}

TEST_F(Win32FileSystemTest, RemoveDeletesAndIgnoresAMissingFile) {
  WriteWholeFile(folder_.File("a.tmp"), "x");
  files_.Remove(folder_.File("a.tmp"));
  EXPECT_FALSE(testing::FileExists(folder_.File("a.tmp")));
  files_.Remove(folder_.File("a.tmp"));  // no error
}

TEST_F(Win32FileSystemTest, APathOf260BytesFailsInsteadOfBeingCut) {
  // A real file at the 259-byte path, which a cut 260-byte path would reach.
  std::string shorter = folder_.Path();
  shorter.append(MAX_PATH - 1 - shorter.size(), 'a');
  ASSERT_EQ(259u, shorter.size());
  WriteWholeFile(shorter, "the 259-byte file");
  ASSERT_EQ("the 259-byte file", ReadWholeFile(shorter));

  const std::string longer = shorter + "a";
  EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE, ErrorCodeOf([&] { files_.OpenForReading(longer); }));
  std::string temp;
  EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE,
            ErrorCodeOf([&] { files_.CreateTempBeside(longer, temp); }));
  EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE, ErrorCodeOf([&] { files_.Replace(shorter, longer); }));
  EXPECT_EQ("the 259-byte file", ReadWholeFile(shorter));
}

}  // namespace
}  // namespace pellox::win32
