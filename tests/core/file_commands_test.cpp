#include <gtest/gtest.h>

#include "form_harness.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;
constexpr DialogId kOpen = DialogId::OpenDialog1;
constexpr DialogId kSave = DialogId::SaveDialog1;

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.printers.installed = {{"Laser", {}}};
    h.Show();
  }
  void Press(FormEvent event) { h.form.Dispatch(event); }
  // The list dialog (Open, Save or SaveAs) as it opens before any list was
  // opened: for list files, in the program's folder.
  void ExpectFirstListDialog(DialogId dialog) {
    const FileDialogState shown = *h.ui.LastShown(dialog);
    EXPECT_EQ(shown.InitialDir, "/opt/pellox tools/");
    EXPECT_EQ(shown.Filter, "FileList Files(*.lst)|*.lst");
    EXPECT_EQ(shown.DefaultExt, "lst");
  }

  FormHarness h;
};

TEST_F(FileCommandsTest, NewEmptiesEverything) {
  h.Add("1", "a", "b");
  h.ui.SetItemIndex(1);
  h.form.ListFileName = "/x.lst";
  h.Grid().SetColWidth(0, 99);
  Press(FormEvent::MnuNewClick);
  EXPECT_EQ(h.form.EntryCount, 0);
  EXPECT_EQ(h.form.ListFileName, "");
  EXPECT_EQ(h.ui.Caption(), "Pellox");
  EXPECT_EQ(h.ui.Text(EditField::Edit2), "");
  EXPECT_EQ(h.Grid().RowCount(), 2);
  EXPECT_EQ(h.Rows(1), (Texts{"|||"}));
  EXPECT_EQ(h.Grid().ColWidth(0), 40);
  EXPECT_EQ(h.ui.ItemIndex(), 0);
  EXPECT_EQ(h.Cell(0, 0), "No.");
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileAndMovesTheListFolder) {
  h.files.files["/data/lists/a.lst"] = "1\r\n1\r\n3\r\nx\r\ny\r\n";
  h.ui.AnswerDialog(kOpen, {"/data/lists/a", 1});
  Press(FormEvent::MnuOpenClick);
  ExpectFirstListDialog(kOpen);
  EXPECT_EQ(h.form.ListFileName, "/data/lists/a.lst");
  EXPECT_EQ(h.form.ListDir, "/data/lists/");
  EXPECT_EQ(h.ui.Caption(), "Pellox | /data/lists/a.lst");
  EXPECT_EQ(h.Rows(1), (Texts{"1|3|x|y"}));
  EXPECT_EQ(h.ui.ItemIndex(), 1);
}

TEST_F(FileCommandsTest, OpenOfAFileThatDoesNotLoadEmptiesTheList) {
  h.files.files["/d/empty.lst"] = "0\r\n0\r\n";
  for (const char* name : {"/d/missing.lst", "/d/empty.lst"}) {
    h.Add("1", "a");
    h.ui.AnswerDialog(kOpen, {name, 1});
    Press(FormEvent::MnuOpenClick);
    EXPECT_EQ(h.form.EntryCount, 0) << name;
    EXPECT_EQ(h.form.ListFileName, "") << name;
    EXPECT_EQ(h.ui.Caption(), "Pellox") << name;
    EXPECT_EQ(h.form.ListDir, "/d/") << name;
    EXPECT_TRUE(h.ui.ErrorBoxes().empty());
  }
}

TEST_F(FileCommandsTest, CancelChangesNothing) {
  h.Add("1", "a");
  h.ui.CancelDialog(kOpen);
  h.ui.CancelDialog(kSave);
  h.ui.CancelDialog(kOpen);
  Press(FormEvent::MnuOpenClick);
  Press(FormEvent::MnuSaveAsClick);
  Press(FormEvent::Button1Click);
  EXPECT_EQ(h.form.EntryCount, 1);
  EXPECT_EQ(h.ui.Text(EditField::Edit2), "a");
  EXPECT_EQ(h.ui.Caption(), "Pellox");
  EXPECT_TRUE(h.files.files.empty());
}

TEST_F(FileCommandsTest, SaveWithoutACurrentFileActsAsSaveAs) {
  h.Add("2", "a");
  h.ui.AnswerDialog(kSave, {"/out/abc", 1});
  Press(FormEvent::MnuSaveClick);
  ExpectFirstListDialog(kSave);
  EXPECT_EQ(h.ui.LastShown(kSave)->FileName, "");
  EXPECT_EQ(h.files.files.at("/out/abc.lst"), "0\r\n1\r\n2\r\na\r\n\r\n");
  EXPECT_EQ(h.form.ListFileName, "/out/abc.lst");
  EXPECT_EQ(h.ui.Caption(), "Pellox | /out/abc.lst");
  EXPECT_EQ(h.form.ListDir, "/opt/pellox tools/");

  h.Add("3", "b");
  Press(FormEvent::MnuSaveClick);  // now straight to the current file
  EXPECT_EQ(h.files.files.at("/out/abc.lst"), "0\r\n2\r\n2\r\na\r\n\r\n3\r\nb\r\n\r\n");
}

TEST_F(FileCommandsTest, SaveAsOffersTheCurrentNameAndReplacesWithoutAsking) {
  h.form.ListFileName = "/out/old.lst";
  h.files.files["/out/new.lst"] = "previous";
  h.ui.AnswerDialog(kSave, {"/out/new.lst", 1});
  Press(FormEvent::MnuSaveAsClick);
  EXPECT_EQ(h.ui.LastShown(kSave)->FileName, "/out/old.lst");
  EXPECT_EQ(h.files.files.at("/out/new.lst"), "0\r\n0\r\n");
  EXPECT_EQ(h.form.ListFileName, "/out/new.lst");
}

TEST_F(FileCommandsTest, AFailedSaveAsKeepsTheOldNameAndCaption) {
  h.form.ListFileName = "/out/old.lst";
  h.ui.SetCaption("Pellox | /out/old.lst");
  h.files.FailAt(FakeFileSystem::Op::Replace, 1, 5);
  h.ui.AnswerDialog(kSave, {"/locked/new.lst", 1});
  Press(FormEvent::MnuSaveAsClick);
  EXPECT_EQ(h.form.ListFileName, "/out/old.lst");
  EXPECT_EQ(h.ui.Caption(), "Pellox | /out/old.lst");
  ASSERT_EQ(h.ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Text, "ファイルへのアクセスが拒否されました.");
}

// The file already holds the new list: the program's state must say so,
// and the error box tells what failed.
TEST_F(FileCommandsTest, ASaveAsThatFailsAfterTheListIsInTheFileTakesTheNewName) {
  h.form.ListFileName = "/out/old.lst";
  h.ui.SetCaption("Pellox | /out/old.lst");
  h.Add("1", "a");
  h.files.FailAt(FakeFileSystem::Op::Durable, 1, 1117);
  h.ui.AnswerDialog(kSave, {"/out/new.lst", 1});
  Press(FormEvent::MnuSaveAsClick);
  EXPECT_EQ(h.files.files.at("/out/new.lst"), "0\r\n1\r\n1\r\na\r\n\r\n");
  EXPECT_EQ(h.form.ListFileName, "/out/new.lst");
  EXPECT_EQ(h.ui.Caption(), "Pellox | /out/new.lst");
  ASSERT_EQ(h.ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(h.ui.ErrorBoxes()[0].Text, "I/O エラー (1117)");
}

TEST_F(FileCommandsTest, BrowseFillsTheProgramFieldAndMovesItsFolder) {
  h.ui.AnswerDialog(kOpen, {"/usr/bin/tool", 2});
  Press(FormEvent::Button1Click);
  const FileDialogState shown = *h.ui.LastShown(kOpen);
  EXPECT_EQ(shown.Filter, "EXE Files(*.exe)|*.exe|All Files(*.*)|*.*");
  EXPECT_EQ(shown.DefaultExt, "");
  EXPECT_EQ(shown.InitialDir, "/opt/pellox tools/");
  EXPECT_EQ(h.ui.Text(EditField::Edit2), "/usr/bin/tool");  // no extension added
  EXPECT_EQ(h.form.BrowseDir, "/usr/bin/");
  EXPECT_EQ(h.form.EntryCount, 0);
}

TEST_F(FileCommandsTest, OpenAndBrowseShareTheDialogsNameAndFilterChoice) {
  h.files.files["/l/a.lst"] = "0\r\n1\r\n0\r\nx\r\n\r\n";
  h.ui.AnswerDialog(kOpen, {"/l/a.lst", 1});
  Press(FormEvent::MnuOpenClick);
  h.ui.AnswerDialog(kOpen, {"/bin/tool", 2});
  Press(FormEvent::Button1Click);
  EXPECT_EQ(h.ui.LastShown(kOpen)->FileName, "/l/a.lst");  // Browse offers the list file

  h.ui.CancelDialog(kOpen);
  Press(FormEvent::MnuOpenClick);
  EXPECT_EQ(h.ui.LastShown(kOpen)->FileName, "/bin/tool");
  EXPECT_EQ(h.ui.LastShown(kOpen)->FilterIndex, 2);
  EXPECT_EQ(h.ui.LastShown(kOpen)->InitialDir, "/l/");
}

TEST_F(FileCommandsTest, ExitAsksTheApplicationToEnd) {
  Press(FormEvent::MnuExitClick);
  EXPECT_TRUE(h.pump.QuitPending());
  h.application.ProcessMessages();
  EXPECT_TRUE(h.application.Terminated());
}

}  // namespace
}  // namespace pellox::testing
