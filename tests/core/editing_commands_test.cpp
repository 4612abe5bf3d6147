#include <gtest/gtest.h>

#include <cctype>

#include "form_harness.h"

namespace pellox::testing {
namespace {

using Rows = std::vector<std::string>;

class EditingCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { h.Show(); }

  void Press(FormEvent event) { h.form.Dispatch(event); }
  void AddThree() {
    h.Add("1", "a.exe", "-a");
    h.Add("2", "b.exe", "-b");
    h.Add("3", "c.exe", "-c");
  }

  FormHarness h;
};

struct DelayCase {
  const char* label;
  const char* typed;
  const char* normalised;
};

class DelayNormalisationTest : public ::testing::TestWithParam<DelayCase> {};

TEST_P(DelayNormalisationTest, FieldAndEntryGetTheSameDecimalText) {
  const DelayCase& c = GetParam();
  FormHarness h;
  h.Show();
  h.Add(c.typed, "x.exe");
  EXPECT_EQ(h.ui.Text(EditField::Edit1), c.normalised) << c.label;
  EXPECT_EQ(h.Cell(1, 1), c.normalised) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Delays, DelayNormalisationTest,
                         ::testing::Values(DelayCase{"empty", "", "0"},
                                           DelayCase{"letters", "abc", "0"},
                                           DelayCase{"negative", "-3", "0"},
                                           DelayCase{"hex", "$10", "16"},
                                           DelayCase{"leading zeros", "007", "7"},
                                           DelayCase{"trailing blank", "12 ", "0"},
                                           DelayCase{"leading blank", " 12", "12"},
                                           DelayCase{"no upper bound", "5000", "5000"},
                                           DelayCase{"hex negative", "$FFFFFFFF", "0"}));

TEST_F(EditingCommandsTest, AddAppendsAndKeepsTheFields) {
  h.Add("5", "backup.exe", "/quiet");
  EXPECT_EQ(h.form.EntryCount, 1);
  EXPECT_EQ(h.Grid().RowCount(), 2);
  Press(FormEvent::Button2Click);
  EXPECT_EQ(h.form.EntryCount, 2);
  EXPECT_EQ(h.Grid().RowCount(), 3);
  EXPECT_EQ(h.Rows(2), (Rows{"1|5|backup.exe|/quiet", "2|5|backup.exe|/quiet"}));
  EXPECT_EQ(h.Grid().CurrentRow(), 1);
  EXPECT_EQ(h.ui.Text(EditField::Edit2), "backup.exe");
}

TEST_F(EditingCommandsTest, InsertAtTheFirstRowPushesTheOthersDown) {
  AddThree();
  h.SelectRow(1);
  h.Type("9", "new.exe", "-n");
  Press(FormEvent::Button3Click);
  EXPECT_EQ(h.form.EntryCount, 4);
  EXPECT_EQ(h.Grid().RowCount(), 5);
  EXPECT_EQ(h.Rows(4), (Rows{"1|9|new.exe|-n", "2|1|a.exe|-a", "3|2|b.exe|-b", "4|3|c.exe|-c"}));
}

TEST_F(EditingCommandsTest, InsertAtTheLastRowKeepsTheEntriesAbove) {
  AddThree();
  h.SelectRow(3);
  h.Type("9", "new.exe", "");
  Press(FormEvent::Button3Click);
  EXPECT_EQ(h.Rows(4), (Rows{"1|1|a.exe|-a", "2|2|b.exe|-b", "3|9|new.exe|", "4|3|c.exe|-c"}));
}

TEST_F(EditingCommandsTest, InsertOnAnEmptyListEqualsAdd) {
  h.Type("$A", "p", "q");
  Press(FormEvent::Button3Click);
  FormHarness added;
  added.Show();
  added.Add("$A", "p", "q");
  EXPECT_EQ(h.Rows(2), added.Rows(2));
  EXPECT_EQ(h.form.EntryCount, added.form.EntryCount);
  EXPECT_EQ(h.Grid().RowCount(), added.Grid().RowCount());
}

TEST_F(EditingCommandsTest, DeleteOfTheOnlyEntryLeavesTheEmptyList) {
  h.Add("1", "a.exe", "-a");
  Press(FormEvent::Button4Click);
  EXPECT_EQ(h.form.EntryCount, 0);
  EXPECT_EQ(h.Grid().RowCount(), 2);
  EXPECT_EQ(h.Rows(1), (Rows{"|||"}));

  h.Type("x", "y", "z");
  Press(FormEvent::Button5Click);  // Edit: nothing, not even normalisation
  Press(FormEvent::Button6Click);  // Pick: nothing
  Press(FormEvent::Button4Click);  // Delete: nothing
  EXPECT_EQ(h.ui.Text(EditField::Edit1), "x");
  EXPECT_EQ(h.ui.Text(EditField::Edit2), "y");
  EXPECT_EQ(h.Rows(1), (Rows{"|||"}));
  EXPECT_EQ(h.form.EntryCount, 0);
}

TEST_F(EditingCommandsTest, DeleteOfTheLastOfThreeKeepsTheOthersAndMovesTheCurrentRow) {
  AddThree();
  h.SelectRow(3);
  Press(FormEvent::Button4Click);
  EXPECT_EQ(h.form.EntryCount, 2);
  EXPECT_EQ(h.Grid().RowCount(), 3);
  EXPECT_EQ(h.Grid().CurrentRow(), 2);
  EXPECT_EQ(h.Rows(2), (Rows{"1|1|a.exe|-a", "2|2|b.exe|-b"}));
  EXPECT_EQ(h.Cell(2, 3), "");  // the old last row is cleared
}

TEST_F(EditingCommandsTest, DeleteInTheMiddleMovesTheFollowingEntriesUp) {
  AddThree();
  h.SelectRow(1);
  Press(FormEvent::Button4Click);
  EXPECT_EQ(h.Rows(2), (Rows{"1|2|b.exe|-b", "2|3|c.exe|-c"}));
  EXPECT_EQ(h.Grid().CurrentRow(), 1);
}

TEST_F(EditingCommandsTest, EditOverwritesTheCurrentEntryButNotItsNumber) {
  AddThree();
  h.SelectRow(2);
  h.Type("0x10", "e.exe", "-e");
  Press(FormEvent::Button5Click);
  EXPECT_EQ(h.Rows(3), (Rows{"1|1|a.exe|-a", "2|16|e.exe|-e", "3|3|c.exe|-c"}));
  EXPECT_EQ(h.ui.Text(EditField::Edit1), "16");
}

TEST_F(EditingCommandsTest, PickCopiesTheCellsUnchanged) {
  h.form.EntryCount = 1;
  h.Grid().SetCell(1, 1, " not a number ");
  h.Grid().SetCell(2, 1, "prog");
  h.Grid().SetCell(3, 1, "");
  h.ui.SetText(EditField::Edit3, "old");
  Press(FormEvent::Button6Click);
  EXPECT_EQ(h.ui.Text(EditField::Edit1), " not a number ");
  EXPECT_EQ(h.ui.Text(EditField::Edit2), "prog");
  EXPECT_EQ(h.ui.Text(EditField::Edit3), "");
}

TEST_F(EditingCommandsTest, StaleCellsBeyondTheListAreNoEntries) {
  AddThree();
  h.SelectRow(3);
  Press(FormEvent::Button4Click);
  Press(FormEvent::Button4Click);
  EXPECT_EQ(h.form.EntryCount, 1);
  EXPECT_EQ(h.Grid().RowCount(), 2);
  // Adding again fills row 2 afresh; nothing of the deleted entries shows.
  h.Add("7", "n.exe");
  EXPECT_EQ(h.Rows(3), (Rows{"1|1|a.exe|-a", "2|7|n.exe|", "|||"}));
  EXPECT_EQ(h.Grid().RowCount(), 3);
}

TEST_F(EditingCommandsTest, AddAndInsertStopAtTheLimit) {
  h.form.EntryCount = kMaxEntries;
  h.Grid().SetRowCount(kMaxEntries + 1);
  h.Add("1", "over.exe");
  h.SelectRow(1);
  Press(FormEvent::Button3Click);
  EXPECT_EQ(h.form.EntryCount, kMaxEntries);
  EXPECT_EQ(h.Grid().RowCount(), kMaxEntries + 1);
  EXPECT_EQ(h.Cell(2, 1), "");
  EXPECT_EQ(h.Cell(2, kMaxEntries + 1), "");
}

// A field may hold bytes that a list file cannot store in a cell (a pasted
// line break, the end-of-data byte 0x1A). Whatever the command, the cell
// keeps only what survives a save and a load, so no text after a break can
// turn into an entry of its own.
struct FieldTextCase {
  const char* label;
  std::string typed;
  std::string cell;
};

class UnstorableFieldTextTest : public ::testing::TestWithParam<FieldTextCase> {};

TEST_P(UnstorableFieldTextTest, CellsKeepWhatAListFileCanHoldAndSurviveARoundTrip) {
  const FieldTextCase& c = GetParam();
  for (FormEvent command :
       {FormEvent::Button2Click, FormEvent::Button3Click, FormEvent::Button5Click}) {
    FormHarness h;
    h.Show();
    h.Add("0", "first.exe", "-f");
    h.Type("1", c.typed, c.typed);
    h.SelectRow(1);
    h.form.Dispatch(command);
    const int row = command == FormEvent::Button2Click ? 2 : 1;
    EXPECT_EQ(h.Cell(2, row), c.cell) << c.label;
    EXPECT_EQ(h.Cell(3, row), c.cell) << c.label;

    h.form.SaveList("/l/a.lst");
    FormHarness reopened;
    reopened.Show();
    reopened.files.files = h.files.files;
    ASSERT_TRUE(reopened.form.LoadList("/l/a.lst")) << c.label;
    EXPECT_EQ(reopened.form.EntryCount, h.form.EntryCount) << c.label;
    EXPECT_EQ(reopened.Rows(h.form.EntryCount), h.Rows(h.form.EntryCount)) << c.label;
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, UnstorableFieldTextTest,
                         ::testing::Values(FieldTextCase{"plain", "run.exe", "run.exe"},
                                           FieldTextCase{"LF", "a.exe\n0\nevil.exe\n", "a.exe"},
                                           FieldTextCase{"CR LF", "a.exe\r\nb", "a.exe"},
                                           FieldTextCase{"lone CR", "a\rb", "a"},
                                           FieldTextCase{"leading LF", "\nb", ""},
                                           FieldTextCase{"0x1A",
                                                         "a\x1A"
                                                         "b\x1A",
                                                         "ab"},
                                           FieldTextCase{"0x1A then LF",
                                                         "\x1A"
                                                         "a\nb",
                                                         "a"}),
                         [](const ::testing::TestParamInfo<FieldTextCase>& test) {
                           std::string name;
                           for (char ch : std::string(test.param.label))
                             name += std::isalnum(ch) ? ch : '_';
                           return name;
                         });

}  // namespace
}  // namespace pellox::testing
