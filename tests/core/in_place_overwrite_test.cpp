// The in-place overwrite, step by step: what a kill leaves at every moment
// (the file as the running system sees it) loads as the old list, as the
// new one, or not at all; and what reaches the disk is ordered so that a
// crash between two syncs cannot leave a mix that loads either.
#include "platform/in_place_overwrite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.h"
#include "form_harness.h"

namespace pellox::testing {
namespace {

// A file in memory: `contents` as a killed process leaves it, `onDisk` as
// the last sync left it. Notes every moment, and checks the order of the
// calls against what a crash could leave.
class RecordingFile : public OverwrittenFile {
 public:
  explicit RecordingFile(std::string old) : contents(old), onDisk(std::move(old)) {}

  void WriteAt(uint64_t offset, const char* data, size_t size) override {
    Step();
    if (offset == 0) {
      // The first byte decides whether the file loads: it goes to the disk
      // after everything before it, unless the mark is there already.
      const bool markedOnDisk = !onDisk.empty() && onDisk[0] == kUnloadableMark;
      EXPECT_TRUE(pendingOthers_ == 0 || (data[0] == kUnloadableMark && markedOnDisk))
          << "first byte written with other changes unsynced";
      firstBytePending_ = data[0] != kUnloadableMark || !markedOnDisk;
    } else {
      ExpectMarkedOnDisk();
      ++pendingOthers_;
    }
    if (contents.size() < offset + size) contents.resize(offset + size);
    contents.replace(offset, size, data, size);
    moments.push_back(contents);
  }
  void Truncate(uint64_t size) override {
    Step();
    ExpectMarkedOnDisk();
    ++pendingOthers_;
    contents.resize(size);
    moments.push_back(contents);
  }
  void Sync() override {
    Step();
    onDisk = contents;
    pendingOthers_ = 0;
    firstBytePending_ = false;
  }

  std::string contents;
  std::string onDisk;
  std::vector<std::string> moments;
  int failAtStep = 0;  // the step (from 1) that raises, 0 for none
  int Steps() const { return steps_; }

 private:
  void Step() {
    if (++steps_ == failAtStep) throw EInOutError(101);
  }
  void ExpectMarkedOnDisk() {
    EXPECT_FALSE(firstBytePending_) << "a change follows the first byte before its sync";
    EXPECT_TRUE(!onDisk.empty() && onDisk[0] == kUnloadableMark)
        << "a byte changes while the file on the disk may load";
  }
  int steps_ = 0;
  int pendingOthers_ = 0;  // unsynced changes after the first byte
  bool firstBytePending_ = false;
};

// A list of `entries` entries, each naming `program`.
std::string ListOf(int entries, const std::string& program) {
  std::string text = "0\r\n" + std::to_string(entries) + "\r\n";
  for (int i = 0; i < entries; ++i) text += std::to_string(i) + "\r\n" + program + "\r\n\r\n";
  return text;
}

class InPlaceOverwriteTest : public ::testing::Test {
 protected:
  void SetUp() override { h.Show(); }

  // Every moment is the old list, the new one, or a file that does not
  // load.
  void ExpectEveryMomentSound(const RecordingFile& file, const std::string& oldList,
                              const std::string& newList) {
    for (const std::string& list : {oldList, newList}) {
      h.files.files["/m.lst"] = list;
      EXPECT_EQ(h.form.LoadList("/m.lst"), !list.empty()) << "the lists themselves load";
    }
    for (size_t i = 0; i < file.moments.size(); ++i) {
      const std::string& moment = file.moments[i];
      if (moment == oldList || moment == newList) continue;
      h.files.files["/m.lst"] = moment;
      EXPECT_FALSE(h.form.LoadList("/m.lst")) << "moment " << i << " loads: " << moment;
    }
  }
  // Writes `newList` in chunks of `chunk` bytes.
  static void WriteIn(InPlaceOverwrite& overwrite, const std::string& newList, size_t chunk) {
    for (size_t at = 0; at < newList.size(); at += chunk) {
      overwrite.Write(newList.data() + at, std::min(chunk, newList.size() - at));
    }
  }

  FormHarness h;
};

struct SizeCase {
  const char* Label;
  std::string Old;
  std::string New;
  size_t Chunk;
};

TEST_F(InPlaceOverwriteTest, EveryMomentOfASaveLoadsAsOldOrNewOrNotAtAll) {
  const SizeCase cases[] = {
      {"new shorter", ListOf(40, "/old/program"), ListOf(3, "/new"), 7},
      {"new longer", ListOf(3, "/old"), ListOf(40, "/new/program"), 64},
      {"same length", ListOf(5, "/old"), ListOf(5, "/new"), 1},
      {"old file empty", "", ListOf(2, "/new"), 5},
      {"one chunk", ListOf(9, "/old"), ListOf(8, "/new"), 100000},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.Label);
    RecordingFile file(c.Old);
    InPlaceOverwrite overwrite(file, c.Old);
    overwrite.Start();
    WriteIn(overwrite, c.New, c.Chunk);
    overwrite.Finish();
    EXPECT_EQ(file.onDisk, c.New);
    EXPECT_GT(file.moments.size(), 2u);
    ExpectEveryMomentSound(file, c.Old, c.New);
  }
}

// A failure at any step of the save: the old contents are written back the
// same careful way, and every moment of that is sound too.
TEST_F(InPlaceOverwriteTest, AFailureAtAnyStepPutsTheOldListBack) {
  const std::string oldList = ListOf(12, "/old/program");
  const std::string newList = ListOf(10, "/new");
  for (int failAt = 1;; ++failAt) {
    SCOPED_TRACE(failAt);
    RecordingFile file(oldList);
    file.failAtStep = failAt;
    InPlaceOverwrite overwrite(file, oldList);
    try {
      overwrite.Start();
      WriteIn(overwrite, newList, 50);
      overwrite.Finish();
      EXPECT_EQ(file.onDisk, newList);
      break;  // no step left to fail
    } catch (const EInOutError&) {
      file.failAtStep = 0;
      EXPECT_TRUE(overwrite.Restore());
    }
    EXPECT_EQ(file.onDisk, oldList);
    ExpectEveryMomentSound(file, oldList, newList);
  }
}

// A restore that fails at any of its steps says so; the file then holds
// the old list or does not load (the kept copy has the old list).
TEST_F(InPlaceOverwriteTest, ARestoreThatFailsSaysSoAndNeverLeavesAMixThatLoads) {
  const std::string oldList = ListOf(4, "/old");
  const std::string newList = ListOf(4, "/new/program");
  for (bool finished : {false, true}) {
    for (int step = 1; step <= 7; ++step) {
      SCOPED_TRACE(::testing::Message() << "finished " << finished << ", step " << step);
      RecordingFile file(oldList);
      InPlaceOverwrite overwrite(file, oldList);
      overwrite.Start();
      WriteIn(overwrite, newList, 9);
      if (finished) overwrite.Finish();
      file.failAtStep = file.Steps() + step;
      EXPECT_FALSE(overwrite.Restore());
      ExpectEveryMomentSound(file, oldList, newList);
    }
  }
}

}  // namespace
}  // namespace pellox::testing
