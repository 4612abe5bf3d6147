#include <gtest/gtest.h>

#include "common/errors.h"
#include "form_harness.h"

namespace pellox::testing {
namespace {

using Rows = std::vector<std::string>;
using Op = FakeFileSystem::Op;

const char kPath[] = "/lists/a.lst";

class ListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.printers.installed = {{"Laser", {}}, {"Ink", {}}};
    h.Show();  // ComboBox1: "", "Laser", "Ink"
  }
  bool Load(const std::string& contents) {
    h.files.files[kPath] = contents;
    return h.form.LoadList(kPath);
  }
  std::string Saved() {
    h.form.SaveList(kPath);
    return h.files.files.at(kPath);
  }

  FormHarness h;
};

TEST_F(ListFileTest, WritesTheExampleByteForByte) {
  h.ui.SetItemIndex(1);
  h.Add("5", "C:\\Tools\\backup.exe", "/quiet");
  h.Add("0", "notepad.exe", "");
  EXPECT_EQ(Saved(), "1\r\n2\r\n5\r\nC:\\Tools\\backup.exe\r\n/quiet\r\n0\r\nnotepad.exe\r\n\r\n");
}

TEST_F(ListFileTest, WritesTheEmptyListAsSixBytes) { EXPECT_EQ(Saved(), "0\r\n0\r\n"); }

struct ReadCase {
  const char* label;
  std::string contents;
  bool loads;
  int itemIndex;
  Rows rows;  // the entries expected after a load that succeeded
};

class ListFileReadTest : public ListFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ListFileReadTest, GivesTheExpectedOutcome) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(Load(c.contents), c.loads) << c.label;
  EXPECT_EQ(h.ui.ItemIndex(), c.itemIndex) << c.label;
  if (c.loads) {
    EXPECT_EQ(h.form.EntryCount, static_cast<int>(c.rows.size())) << c.label;
    EXPECT_EQ(h.Grid().RowCount(), static_cast<int>(c.rows.size()) + 1) << c.label;
    EXPECT_EQ(h.Rows(static_cast<int>(c.rows.size())), c.rows) << c.label;
  }
}

const std::string kTwoEntries = "5\r\nA\r\na\r\n6\r\nB\r\nb\r\n";
const Rows kTwoRows = {"1|5|A|a", "2|6|B|b"};
const std::string kBlanks1000 = "  " + std::string(996, 'p') + "  ";

INSTANTIATE_TEST_SUITE_P(
    Files, ListFileReadTest,
    ::testing::Values(
        ReadCase{"plain", "2\r\n2\r\n" + kTwoEntries, true, 2, kTwoRows},
        ReadCase{"plus count", "0\r\n+2\r\n" + kTwoEntries, true, 0, kTwoRows},
        ReadCase{"dollar count", "0\r\n$2\r\n" + kTwoEntries, true, 0, kTwoRows},
        ReadCase{"x count", "0\r\nx2\r\n" + kTwoEntries, true, 0, kTwoRows},
        ReadCase{"0x count", "0\r\n0x2\r\n" + kTwoEntries, true, 0, kTwoRows},
        ReadCase{"count and words", "0\r\n2 entries follow\r\n" + kTwoEntries, true, 0, kTwoRows},
        ReadCase{"signed hex count", "0\r\n-0x2\r\n" + kTwoEntries, false, 0, {}},
        ReadCase{"digits then letter", "0\r\n2x\r\n" + kTwoEntries, false, 0, {}},
        ReadCase{"letters in count", "0\r\ntwo\r\n" + kTwoEntries, false, 0, {}},
        ReadCase{"letters in choice", "one\r\n2\r\n" + kTwoEntries, false, 0, {}},
        ReadCase{"blank line before count", "1\r\n\r\n2\r\n" + kTwoEntries, true, 1, kTwoRows},
        ReadCase{"blanks and tabs before count", "1\r\n \t 2\r\n" + kTwoEntries, true, 1, kTwoRows},
        ReadCase{"choice -1", "-1\r\n2\r\n" + kTwoEntries, true, 0, kTwoRows},
        ReadCase{"choice past the list", "3\r\n2\r\n" + kTwoEntries, true, 0, kTwoRows},
        ReadCase{"last choice", "2\r\n2\r\n" + kTwoEntries, true, 2, kTwoRows},
        ReadCase{"count 3, four lines",
                 "0\r\n3\r\n1\r\nA\r\na\r\n2\r\n",
                 true,
                 0,
                 {"1|1|A|a", "2|2||", "3|||"}},
        ReadCase{"0x1A among the entries",
                 "0\r\n2\r\n5\r\nA\x1A\r\na\r\n6\r\nB\r\nb\r\n",
                 true,
                 0,
                 {"1|5|A|", "2|||"}},
        ReadCase{"0x1A before the count",
                 "1\r\n\x1A"
                 "2\r\n" +
                     kTwoEntries,
                 false,
                 1,
                 {}},
        ReadCase{"empty file", "", false, 0, {}},
        ReadCase{"ends after line 1", "1\r\n", false, 1, {}},
        ReadCase{"count 0", "0\r\n0\r\n", false, 0, {}},
        ReadCase{"negative count", "0\r\n-4\r\n" + kTwoEntries, false, 0, {}},
        ReadCase{"LF line ends", "1\n2\n5\nA\na\n6\nB\nb\n", true, 1, kTwoRows},
        ReadCase{"CR line ends", "1\r2\r5\rA\ra\r6\rB\rb\r", true, 1, kTwoRows},
        ReadCase{"mixed line ends", "1\r\n2\n5\rA\r\na\n6\nB\rb", true, 1, kTwoRows},
        ReadCase{"no final line end", "0\r\n1\r\n3\r\nx\r\ny", true, 0, {"1|3|x|y"}},
        ReadCase{"long cell with blanks",
                 "0\r\n1\r\n1\r\n" + kBlanks1000 + "\r\n" + kBlanks1000,
                 true,
                 0,
                 {"1|1|" + kBlanks1000 + "|" + kBlanks1000}},
        ReadCase{"lines after the last entry",
                 "0\r\n1\r\n1\r\nx\r\ny\r\n9\r\nz\r\n",
                 true,
                 0,
                 {"1|1|x|y"}},
        ReadCase{"delay text kept as read", "0\r\n1\r\nsoon\r\nx\r\n\r\n", true, 0, {"1|soon|x|"}},
        ReadCase{"count of 2147483647", "0\r\n2147483647\r\n", false, 0, {}},
        ReadCase{"count above the limit", "0\r\n1000001\r\n", false, 0, {}},
        ReadCase{
            "token cut after 32 bytes", "0\r\n" + std::string(32, '0') + "5\r\n", false, 0, {}},
        ReadCase{"binary junk", std::string("\x00\xff\x80\x01", 4), false, 0, {}}));

TEST_F(ListFileTest, LoadChangesTheWindowAsItReads) {
  h.Add("1", "old1");
  h.Add("1", "old2");
  h.Add("1", "old3");
  EXPECT_FALSE(Load("2\r\n0\r\n"));
  EXPECT_EQ(h.ui.ItemIndex(), 2);  // the choice of line 1 stays
  EXPECT_EQ(h.form.EntryCount, 0);
  EXPECT_EQ(h.Grid().RowCount(), 4);  // the grid is not touched

  EXPECT_TRUE(Load("0\r\n1\r\n9\r\nnew\r\n\r\n"));
  EXPECT_EQ(h.Grid().RowCount(), 2);
  EXPECT_EQ(h.Rows(1), (Rows{"1|9|new|"}));
}

// The view of the grid hears of a whole load once, however long the list.
TEST_F(ListFileTest, ALoadReachesTheGridsObserverAsOneChange) {
  struct Counter final : GridObserver {
    void GridChanged(GridChange change, int) override { changes.push_back(change); }
    std::vector<GridChange> changes;
  } counter;
  h.Grid().SetObserver(&counter);
  std::string text = "0\r\n1000\r\n";
  for (int i = 0; i < 1000; ++i) text += "1\r\nprog\r\n\r\n";
  EXPECT_TRUE(Load(text));
  EXPECT_EQ(counter.changes, (std::vector<GridChange>{GridChange::All}));
  EXPECT_EQ(h.Grid().RowCount(), 1001);
  h.Grid().SetObserver(nullptr);
}

TEST_F(ListFileTest, AFileThatCannotBeOpenedChangesNothing) {
  h.ui.SetItemIndex(1);
  h.Add("1", "keep");
  h.files.FailAt(Op::Open, 1, 5);
  h.files.files[kPath] = "0\r\n1\r\n2\r\nnew\r\n\r\n";
  EXPECT_FALSE(h.form.LoadList(kPath));
  EXPECT_FALSE(h.form.LoadList("/missing.lst"));
  EXPECT_EQ(h.ui.ItemIndex(), 1);
  EXPECT_EQ(h.form.EntryCount, 1);
  EXPECT_EQ(h.Rows(1), (Rows{"1|1|keep|"}));
}

TEST_F(ListFileTest, ReadAndCloseFailuresGiveFalse) {
  for (Op op : {Op::Read, Op::Close}) {
    h.files.FailAt(op, op == Op::Read ? 3 : 1, 5);
    EXPECT_FALSE(Load("0\r\n2\r\n" + kTwoEntries)) << static_cast<int>(op);
  }
}

// A read error part way keeps what was read before it, down to the cells
// of a partly read entry; the cells not reached keep their old text.
TEST_F(ListFileTest, AReadErrorKeepsTheCellsReadBeforeIt) {
  struct Case {
    const char* label;
    int failingRead;  // of 7 bytes each
    Rows rows;
  };
  // Bytes 14 to 20 hold the second line end of "a" and "6"; 21 to 41 the
  // B line; 42 to 61 the b line.
  const std::string text = "0\r\n2\r\n5\r\nA\r\na\r\n6\r\n" + std::string(20, 'B') + "\r\n" +
                           std::string(20, 'b') + "\r\n";
  for (const Case& c : {
           Case{"in the line end of the first entry", 3, {"1|5|A|p1", "2|8|old2|p2"}},
           Case{"in the second program", 4, {"1|5|A|a", "2|6|old2|p2"}},
           Case{"in the second parameter", 7, {"1|5|A|a", "2|6|" + std::string(20, 'B') + "|p2"}},
       }) {
    FormHarness form;
    form.Show();
    form.Add("7", "old1", "p1");
    form.Add("8", "old2", "p2");
    form.files.files[kPath] = text;
    form.files.FailAt(Op::Read, c.failingRead, 5);
    EXPECT_FALSE(form.form.LoadList(kPath)) << c.label;
    EXPECT_EQ(form.form.EntryCount, 2) << c.label;
    EXPECT_EQ(form.Grid().RowCount(), 3) << c.label;
    EXPECT_EQ(form.Rows(2), c.rows) << c.label;
  }
}

TEST_F(ListFileTest, ARoundTripKeepsEveryByte) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n' && b != 0x1A) allBytes.push_back(static_cast<char>(b));
  }
  h.ui.SetItemIndex(2);
  h.Add("abc", "x");  // normalised to 0
  h.Add("7", allBytes, " lead and trail ");
  h.Add("0", "", "");
  h.Grid().SetCell(1, 1, "not a number");
  const std::string saved = Saved();

  FormHarness other;
  other.printers.installed = h.printers.installed;
  other.Show();
  other.files.files[kPath] = saved;
  ASSERT_TRUE(other.form.LoadList(kPath));
  EXPECT_EQ(other.ui.ItemIndex(), 2);
  EXPECT_EQ(other.form.EntryCount, 3);
  EXPECT_EQ(other.Rows(3), h.Rows(3));
}

TEST_F(ListFileTest, EveryFailingStepOfASaveKeepsTheOldFileAndReportsTheCode) {
  h.Add("1", "new.exe");
  for (bool inPlace : {false, true}) {
    for (Op op : {Op::Replace, Op::Write, Op::Commit}) {
      SCOPED_TRACE(::testing::Message()
                   << "in place " << inPlace << ", op " << static_cast<int>(op));
      h.files.replaceInPlace = inPlace;
      h.files.files = {{kPath, "old contents"}};
      h.files.dropped.clear();
      h.files.FailAt(op, 1, 101);
      try {
        h.form.SaveList(kPath);
        ADD_FAILURE() << "no error";
      } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), 101);
      }
      EXPECT_EQ(h.files.files, (std::map<std::string, std::string>{{kPath, "old contents"}}));
      // A replacement that was started is dropped, never left half done.
      EXPECT_EQ(h.files.dropped.size(), op == Op::Replace ? 0u : 1u);
    }
  }
}

TEST_F(ListFileTest, AFailedSaveOfANewFileLeavesNoFile) {
  h.Add("1", "new.exe");
  for (bool inPlace : {false, true}) {
    h.files.replaceInPlace = inPlace;
    h.files.FailAt(Op::Write, 1, 101);
    EXPECT_THROW(h.form.SaveList(kPath), EInOutError);
    EXPECT_TRUE(h.files.files.empty()) << "in place " << inPlace;
  }
}

TEST_F(ListFileTest, ASaveWritesItsBytesAndCommitsOnce) {
  h.Add("1", "new.exe");
  for (bool inPlace : {false, true}) {
    h.files.replaceInPlace = inPlace;
    h.files.files = {{kPath, "old contents that are longer than the new ones"}};
    h.files.dropped.clear();
    EXPECT_EQ(Saved(), "0\r\n1\r\n1\r\nnew.exe\r\n\r\n") << "in place " << inPlace;
    EXPECT_TRUE(h.files.dropped.empty());
  }
}

TEST_F(ListFileTest, ASaveErrorReachesTheErrorReport) {
  h.form.ListFileName = kPath;
  h.files.FailAt(Op::Write, 1, 101);
  h.form.Dispatch(FormEvent::MnuSaveClick);
  ASSERT_EQ(h.ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Caption, "Pellox");
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Text, "ディスクがいっぱいです.");
}

TEST_F(ListFileTest, AMillionAnnouncedEntriesWithNoBodyLoadAsEmptyCells) {
  h.files.readChunk = 1 << 20;
  ASSERT_TRUE(Load("0\r\n1000000\r\n"));
  EXPECT_EQ(h.form.EntryCount, 1000000);
  EXPECT_EQ(h.Grid().RowCount(), 1000001);
  EXPECT_EQ(h.Cell(0, 1000000), "1000000");
  EXPECT_EQ(h.Cell(2, 1000000), "");
}

}  // namespace
}  // namespace pellox::testing
