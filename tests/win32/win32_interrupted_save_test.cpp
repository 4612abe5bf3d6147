// Saves in place by the Windows file layer (a list in a folder so deep that
// no temporary name fits beside it), ended by TerminateProcess at random
// moments: the list file afterwards holds the old list, the new list, or
// something that does not load, with the complete old list in the kept copy.
// The saving process is this test program itself, started again.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "big_list.h"
#include "file_calls.h"
#include "form_harness.h"
#include "platform/windows/scoped_handle.h"
#include "platform/windows/win32_file_system.h"
#include "temp_folder.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

using win32::ScopedHandle;
using win32::Win32FileSystem;

// Set for the started copy of this program: the list it saves.
constexpr char kSavedListVariable[] = "PELLOX_TEST_SAVED_LIST";
constexpr int kEntries = 1000000;

// The started copy's part: saves the new list and ends.
TEST(InterruptedSaveChild, SavesTheNewList) {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA(kSavedListVariable, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) GTEST_SKIP() << "started by InterruptedSaveTest only";
  // 64 KiB at a time, as a list is saved, with a pause after each piece as
  // on a slow disk: the file is written long enough for the ends to meet.
  const std::string contents = BigList(kEntries, "new");
  Win32FileSystem files;
  std::unique_ptr<FileReplacement> output = files.Replace(path);
  constexpr size_t kChunk = size_t{64} * 1024;
  for (size_t at = 0; at < contents.size(); at += kChunk) {
    output->Write(contents.data() + at, std::min(kChunk, contents.size() - at));
    Sleep(1);
  }
  output->Commit();
}

FILETIME LastWriteOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

class InterruptedSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder whose path with a temporary name would reach MAX_PATH.
    folder_ = folders_ / "";
    folder_.append(250 - folder_.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    path_ = folder_ + "\\a.lst";
    SetEnvironmentVariableA("LOCALAPPDATA", appData_.Path().c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("LOCALAPPDATA", nullptr);
    SetEnvironmentVariableA(kSavedListVariable, nullptr);
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  // Starts this program again to save the new list to path_.
  ScopedHandle StartSave() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine =
        std::string("\"") + self + "\" --gtest_filter=InterruptedSaveChild.SavesTheNewList";
    SetEnvironmentVariableA(kSavedListVariable, path_.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableA(kSavedListVariable, nullptr);
    if (!started) return ScopedHandle();
    CloseHandle(info.hThread);
    return ScopedHandle(info.hProcess);
  }

  // Polls the list file's time stamp every millisecond, until it differs
  // from `before` or, with `untilExit`, until `process` ended; the tick
  // counts of its first and its last change (at most 60 s).
  struct Changes {
    DWORD First = 0;
    DWORD Last = 0;
  };
  Changes WatchChanges(const FILETIME& before, HANDLE process, bool untilExit) {
    Changes changes;
    FILETIME seen = before;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 60000) {
      const FILETIME now = LastWriteOf(path_);
      if (CompareFileTime(&seen, &now) != 0) {
        seen = now;
        changes.Last = GetTickCount();
        if (changes.First == 0) changes.First = changes.Last;
        if (!untilExit) break;
      }
      if (WaitForSingleObject(process, 1) == WAIT_OBJECT_0) break;
    }
    return changes;
  }

  std::vector<std::string> KeptCopies() {
    const std::string cache = appData_ / "Pellox";
    return GetFileAttributesA(cache.c_str()) == INVALID_FILE_ATTRIBUTES ? std::vector<std::string>{}
                                                                        : NamesIn(cache);
  }

  bool Loads() {
    Win32FileSystem files;
    FormHarness form({.files = &files});
    form.Show();
    return form.form.LoadList(path_);
  }

  TempFolder folders_;
  TempFolder appData_;
  std::string folder_;
  std::string path_;
  const std::string old_ = BigList(kEntries, "old");
  const std::string new_ = BigList(kEntries, "new");
};

TEST_F(InterruptedSaveTest, AnEndAtAnyMomentLeavesOldNewOrNoLoadWithTheOldListKept) {
  // How long a whole save takes here, and how long the list file is
  // written (from its first to its last change), to end saves within those.
  WriteFile(path_, old_);
  const DWORD start = GetTickCount();
  DWORD whole = 0;
  DWORD writing = 0;
  {
    ScopedHandle measured = StartSave();
    ASSERT_TRUE(measured.IsValid());
    const Changes changes = WatchChanges(LastWriteOf(path_), measured.Get(), true);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(measured.Get(), 60000));
    whole = GetTickCount() - start;
    writing = changes.Last - changes.First;
  }
  ASSERT_TRUE(ReadFile(path_) == new_);
  ASSERT_TRUE(KeptCopies().empty());
  ASSERT_TRUE(Loads());

  // A third of the ends at a random moment of the whole save, a third at
  // the list file's first change, a third at a random moment after it.
  std::mt19937 random(std::random_device{}());
  int unloadable = 0;
  constexpr int kRuns = 6;
  for (int run = 0; run < kRuns; ++run) {
    const bool afterChange = run % 3 != 0;
    const DWORD at = run % 3 == 1 ? 0
                                  : std::uniform_int_distribution<DWORD>(
                                        0, afterChange ? writing : whole)(random);
    SCOPED_TRACE(::testing::Message() << "run " << run << ", " << at << " ms after the "
                                      << (afterChange ? "change" : "start"));
    WriteFile(path_, old_);
    for (const std::string& copy : KeptCopies())
      DeleteFileA((appData_ / ("Pellox\\" + copy)).c_str());
    const FILETIME before = LastWriteOf(path_);
    ScopedHandle save = StartSave();
    ASSERT_TRUE(save.IsValid());
    if (afterChange) WatchChanges(before, save.Get(), false);
    if (at > 0) Sleep(at);
    TerminateProcess(save.Get(), 9);
    WaitForSingleObject(save.Get(), 60000);

    const std::string after = ReadFile(path_);
    if (after == old_ || after == new_) continue;
    ++unloadable;
    EXPECT_FALSE(Loads()) << "a mix of both lists loads";
    const std::vector<std::string> copies = KeptCopies();
    ASSERT_EQ(1u, copies.size());
    EXPECT_TRUE(ReadFile(appData_ / ("Pellox\\" + copies[0])) == old_)
        << "the kept copy is not the old list";
  }
  std::printf(
      "%d runs, %d not loading with the old list kept; the file is written for %lu of %lu ms\n",
      kRuns, unloadable, static_cast<unsigned long>(writing), static_cast<unsigned long>(whole));
  // The ends at the first change meet the file while it is written.
  EXPECT_GT(unloadable, 0);
}

}  // namespace
}  // namespace pellox::testing
