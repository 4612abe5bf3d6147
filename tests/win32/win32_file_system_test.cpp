// Win32FileSystem on real files.
#include "platform/windows/win32_file_system.h"

#include "platform/windows/win32_api.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>

#include "file_calls.h"
#include "temp_folder.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

using win32::Win32FileSystem;

// The access control list of the file at `path`, as text.
std::string AccessControlListOf(const std::string& path) {
  DWORD needed = 0;
  GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  std::vector<BYTE> descriptor(needed);
  LPSTR text = nullptr;
  if (needed == 0 ||
      !GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed,
                        &needed) ||
      !ConvertSecurityDescriptorToStringSecurityDescriptorA(
          descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
    return "";
  }
  std::string result = text;
  LocalFree(text);
  return result;
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
  int SaveCode(const std::string& target, const std::string& contents) {
    return CodeOf([&] { Save(files_, target, contents); });
  }

  TempFolder folder_;
  Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, MissingFileFailsWithCode2) {
  EXPECT_EQ(2, CodeOf([&] { files_.OpenForReading(folder_ / "none.lst"); }));
}

TEST_F(Win32FileSystemTest, MissingFolderFailsWithCode3) {
  EXPECT_EQ(3, CodeOf([&] { files_.OpenForReading(folder_ / "none\\a.lst"); }));
  EXPECT_EQ(3, CodeOf([&] { files_.Replace(folder_ / "none\\a.lst"); }));
}

TEST_F(Win32FileSystemTest, ReadsTheFileAndThenZeroAtTheEnd) {
  WriteFile(folder_ / "a.lst", "0\r\n1\r\n5\r\nprog.exe\r\n-x\r\n");
  std::unique_ptr<File> file = files_.OpenForReading(folder_ / "a.lst");
  EXPECT_EQ("0\r\n1\r\n5\r\nprog.exe\r\n-x\r\n", ReadAll(*file));
  char byte;
  EXPECT_EQ(0u, file->Read(&byte, 1));
  file->Close();
}

TEST_F(Win32FileSystemTest, OpenForReadingSharesReadingOnly) {
  WriteFile(folder_ / "a.lst", "x");
  std::unique_ptr<File> file = files_.OpenForReading(folder_ / "a.lst");
  std::unique_ptr<File> second = files_.OpenForReading(folder_ / "a.lst");
  HANDLE writer = CreateFileA((folder_ / "a.lst").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  const DWORD code = GetLastError();
  EXPECT_EQ(INVALID_HANDLE_VALUE, writer);
  EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), code);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
}

// A pipe with a server waiting, which a read would wait on for good.
class PipeServer {
 public:
  PipeServer()
      : name_("\\\\.\\pipe\\pellox-test-" + std::to_string(GetCurrentProcessId())),
        handle_(CreateNamedPipeA(name_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                 PIPE_TYPE_BYTE, PIPE_UNLIMITED_INSTANCES, 512, 512, 0, nullptr)),
        event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    // Listening, so that a client connects instead of finding the pipe busy.
    overlapped_.hEvent = event_;
    if (handle_ != INVALID_HANDLE_VALUE) ConnectNamedPipe(handle_, &overlapped_);
  }
  ~PipeServer() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      CancelIo(handle_);
      CloseHandle(handle_);
    }
    CloseHandle(event_);
  }
  PipeServer(const PipeServer&) = delete;
  PipeServer& operator=(const PipeServer&) = delete;
  bool Ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  HANDLE handle_;
  HANDLE event_;
  OVERLAPPED overlapped_{};
};

// NUL and a pipe open and are then refused; CON cannot even be opened for
// reading by a program without a console, under Wine.
TEST_F(Win32FileSystemTest, WhatIsNoDiskFileIsRefused) {
  PipeServer pipe;
  ASSERT_TRUE(pipe.Ok());
  EXPECT_EQ(ERROR_ACCESS_DENIED, CodeOf([&] { files_.OpenForReading("NUL"); }));
  EXPECT_EQ(ERROR_ACCESS_DENIED, CodeOf([&] { files_.OpenForReading(pipe.Name()); }));
  EXPECT_NE(0, CodeOf([&] { files_.OpenForReading("CON"); }));
}

TEST_F(Win32FileSystemTest, ASaveOntoWhatIsNoDiskFileIsRefused) {
  PipeServer pipe;
  ASSERT_TRUE(pipe.Ok());
  EXPECT_EQ(ERROR_ACCESS_DENIED, SaveCode("NUL", "new"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, SaveCode(pipe.Name(), "new"));
  EXPECT_NE(0, SaveCode("CON", "new"));
  const std::string folder = folder_ / "dir.lst";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_EQ(ERROR_ACCESS_DENIED, SaveCode(folder, "new"));
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
}

TEST_F(Win32FileSystemTest, ASaveReplacesTheFileWholeAndLeavesNothingElse) {
  const std::string target = folder_ / "list.lst";
  WriteFile(target, "old contents");
  {
    std::unique_ptr<FileReplacement> output = files_.Replace(target);
    output->Write("0\r\n0\r\n", 6);
    EXPECT_EQ("old contents", ReadFile(target));
    output->Commit();
  }
  EXPECT_EQ("0\r\n0\r\n", ReadFile(target));
  EXPECT_EQ(std::vector<std::string>{"list.lst"}, NamesIn(folder_.Path()));
}

TEST_F(Win32FileSystemTest, ADroppedSaveKeepsTheOldFileAndLeavesNothingElse) {
  const std::string target = folder_ / "list.lst";
  WriteFile(target, "old contents");
  files_.Replace(target)->Write("new", 3);
  files_.Replace(folder_ / "new.lst")->Write("new", 3);
  EXPECT_EQ("old contents", ReadFile(target));
  EXPECT_EQ(std::vector<std::string>{"list.lst"}, NamesIn(folder_.Path()));
}

TEST_F(Win32FileSystemTest, AReadOnlyFileIsRefusedAndKept) {
  const std::string target = folder_ / "list.lst";
  WriteFile(target, "old");
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ERROR_ACCESS_DENIED, SaveCode(target, "new"));
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ("old", ReadFile(target));
}

TEST_F(Win32FileSystemTest, HardLinksStayLinked) {
  const std::string target = folder_ / "list.lst";
  WriteFile(target, "old");
  ASSERT_TRUE(CreateHardLinkA((folder_ / "other.lst").c_str(), target.c_str(), nullptr));
  EXPECT_EQ(0, SaveCode(target, "new"));
  EXPECT_EQ("new", ReadFile(target));
  EXPECT_EQ("new", ReadFile(folder_ / "other.lst"));
}

// Nothing proves whose a file is that merely looks like a temporary file of
// a save: the user's own files beside the list stay, whatever their names,
// and so does what a killed save left. Two saves at once do not meet.
TEST_F(Win32FileSystemTest, ASaveRemovesNoFileItDidNotMakeItself) {
  const std::vector<std::string> others = {"~pellox1234.tmp", "~pellox1a2b.tmp",
                                           "~pellox-notes.tmp", "list.lst.pellox-kept.lst"};
  for (const std::string& name : others) WriteFile(folder_ / name, "the user's " + name);
  std::unique_ptr<FileReplacement> inProgress = files_.Replace(folder_ / "other.lst");
  EXPECT_EQ(0, SaveCode(folder_ / "list.lst", "new"));
  ASSERT_TRUE(
      CreateHardLinkA((folder_ / "second.lst").c_str(), (folder_ / "list.lst").c_str(), nullptr));
  EXPECT_EQ(0, SaveCode(folder_ / "list.lst", "newer"));  // in place, with a kept copy
  const std::vector<std::string> names = NamesIn(folder_.Path());
  for (const std::string& name : others) {
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), name)) << name;
    EXPECT_EQ("the user's " + name, ReadFile(folder_ / name)) << name;
  }
  // The others, list.lst, second.lst and the one in progress.
  EXPECT_EQ(others.size() + 3, names.size());
  inProgress->Commit();
  EXPECT_EQ("", ReadFile(folder_ / "other.lst"));
  EXPECT_EQ("newer", ReadFile(folder_ / "list.lst"));
}

// A list being written in place is held for that save alone: a second
// save waits a little, then is refused, and the file holds the first one.
TEST_F(Win32FileSystemTest, ASecondSaveOfAListBeingWrittenInPlaceWaitsThenIsRefused) {
  const std::string target = folder_ / "list.lst";
  WriteFile(target, "old");
  ASSERT_TRUE(CreateHardLinkA((folder_ / "second.lst").c_str(), target.c_str(), nullptr));
  std::unique_ptr<FileReplacement> first = files_.Replace(target);
  first->Write("first", 5);
  const DWORD start = GetTickCount();
  EXPECT_EQ(ERROR_SHARING_VIOLATION, SaveCode(target, "second"));
  EXPECT_GE(GetTickCount() - start, 2000u);
  first->Commit();
  EXPECT_EQ("first", ReadFile(target));
  EXPECT_EQ(0, SaveCode(target, "second"));
  EXPECT_EQ("second", ReadFile(folder_ / "second.lst"));
}

// A save keeps what the file was besides its contents: its attributes and
// its access control list, whether the new contents are moved into its
// place or written in place (a second name).
TEST_F(Win32FileSystemTest, ASaveKeepsTheFilesAttributesAndAccessControlList) {
  const std::string target = folder_ / "list.lst";
  for (bool secondName : {false, true}) {
    SCOPED_TRACE(secondName ? "in place" : "moved");
    WriteFile(target, "old");
    if (secondName) {
      ASSERT_TRUE(CreateHardLinkA((folder_ / "second.lst").c_str(), target.c_str(), nullptr));
    }
    // Owner full control, everyone else read only, not inherited.
    PSECURITY_DESCRIPTOR own = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:P(A;;FA;;;OW)(A;;FR;;;WD)", SDDL_REVISION_1, &own, nullptr));
    ASSERT_TRUE(SetFileSecurityA(target.c_str(), DACL_SECURITY_INFORMATION, own));
    LocalFree(own);
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), kept));
    const std::string listBefore = AccessControlListOf(target);

    EXPECT_EQ(0, SaveCode(target, "new"));
    EXPECT_EQ("new", ReadFile(target));
    EXPECT_EQ(kept, GetFileAttributesA(target.c_str()) & kept);
    EXPECT_EQ(listBefore, AccessControlListOf(target));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((folder_ / "second.lst").c_str());
    DeleteFileA(target.c_str());
  }
}

// Folders whose path reaches near MAX_PATH: a temporary name must not make a
// legal target path fail.
class LongFolderTest : public Win32FileSystemTest {
 protected:
  // A folder inside the test's folder whose path with its "\" has `length`
  // bytes.
  std::string FolderOf(size_t length) {
    std::string path = folder_ / "";
    path.append(length - 1 - path.size(), 'd');
    if (!CreateDirectoryA(path.c_str(), nullptr)) return "";
    made_.push_back(path);
    return path + "\\";
  }
  void TearDown() override {
    for (const std::string& path : made_) {
      for (const char* name : {"\\list.lst", "\\a"}) DeleteFileA((path + name).c_str());
      RemoveDirectoryA(path.c_str());
    }
  }
  std::vector<std::string> made_;
};

TEST_F(LongFolderTest, ListsInFoldersOf237BytesAndMoreSave) {
  for (size_t length : {237u, 240u, 244u, 246u}) {
    const std::string folder = FolderOf(length);
    ASSERT_EQ(length, folder.size());
    for (const std::string& name : {std::string("list.lst"), std::string("a")}) {
      const std::string target = folder + name;
      EXPECT_EQ(0, SaveCode(target, "first")) << target.size();
      EXPECT_EQ(0, SaveCode(target, "second")) << target.size();
      EXPECT_EQ("second", ReadFile(target)) << target.size();
    }
  }
}

TEST_F(Win32FileSystemTest, APathOf260BytesFailsInsteadOfBeingCut) {
  // A real file at the 259-byte path, which a cut 260-byte path would reach.
  std::string shorter = folder_ / "";
  shorter.append(MAX_PATH - 1 - shorter.size(), 'a');
  ASSERT_EQ(259u, shorter.size());
  WriteFile(shorter, "the 259-byte file");
  ASSERT_EQ("the 259-byte file", ReadFile(shorter));

  const std::string longer = shorter + "a";
  EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE, CodeOf([&] { files_.OpenForReading(longer); }));
  EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE, SaveCode(longer, "new"));
  EXPECT_EQ("the 259-byte file", ReadFile(shorter));
  // The 259-byte path itself saves.
  EXPECT_EQ(0, SaveCode(shorter, "new"));
  EXPECT_EQ("new", ReadFile(shorter));
}

}  // namespace
}  // namespace pellox::testing
