#include <gtest/gtest.h>

#include "form_harness.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;

TEST(FormShowTest, StartsWithAnEmptyListUnderTheHeader) {
  FormHarness h;
  h.printers.installed = {{"Laser", {}}, {"Ink", {}}};
  h.Show();
  EXPECT_EQ(h.form.BrowseDir, "/opt/pellox tools/");
  EXPECT_EQ(h.form.ListDir, "/opt/pellox tools/");
  EXPECT_EQ(h.form.EntryCount, 0);
  EXPECT_EQ(h.form.ListFileName, "");
  for (EditField field : {EditField::Edit1, EditField::Edit2, EditField::Edit3}) {
    EXPECT_EQ(h.ui.Text(field), "");
  }
  EXPECT_EQ((Texts{h.Cell(0, 0), h.Cell(1, 0), h.Cell(2, 0), h.Cell(3, 0)}),
            (Texts{"No.", "Delay", "ExeName", "Parameter"}));
  EXPECT_EQ(h.Grid().RowCount(), 2);
  EXPECT_EQ(h.Grid().CurrentRow(), 1);
  EXPECT_EQ(h.Rows(1), (Texts{"|||"}));
  EXPECT_EQ((std::vector<int>{h.Grid().ColWidth(0), h.Grid().ColWidth(1), h.Grid().ColWidth(2),
                              h.Grid().ColWidth(3)}),
            (std::vector<int>{40, 64, 200, 200}));
  EXPECT_EQ(h.ui.Items(), (Texts{"", "Laser", "Ink"}));
  EXPECT_EQ(h.ui.ItemIndex(), 0);
  EXPECT_EQ(h.ui.Caption(), "Pellox");
  EXPECT_TRUE(h.launcher.launches.empty());
}

TEST(FormShowTest, NoPrintersLeaveOnlyTheBlankChoiceAndNoMessage) {
  FormHarness h;
  h.printers.failSizeQuery = true;
  h.printers.installed = {{"Laser", {}}};
  h.Show();
  EXPECT_EQ(h.ui.Items(), (Texts{""}));
  EXPECT_TRUE(h.ui.ErrorBoxes().empty());
}

TEST(FormShowTest, EditingCommandsDoNothingOnTheStartingList) {
  FormHarness h;
  h.Show();
  h.Type("x", "y", "z");
  for (FormEvent e : {FormEvent::Button4Click, FormEvent::Button5Click, FormEvent::Button6Click}) {
    h.form.Dispatch(e);
  }
  EXPECT_EQ(h.ui.Text(EditField::Edit1), "x");
  EXPECT_EQ(h.Rows(1), (Texts{"|||"}));
}

class UnattendedRunTest : public ::testing::Test {
 protected:
  void StartWith(const std::string& contents) {
    h.files.files["/lists/run.lst"] = contents;
    h.process.arguments = {"/lists/run.lst", "ignored.lst"};
    h.Show();
  }
  FormHarness h;
};

TEST_F(UnattendedRunTest, LoadsRunsAndClosesBeforeTheWindowIsShown) {
  StartWith("0\r\n3\r\n1\r\na\r\n-1\r\n0\r\nb\r\n\r\n2\r\nc\r\n-3\r\n");
  ASSERT_EQ(h.launcher.launches.size(), 3u);
  EXPECT_EQ(h.launcher.launches[0].File, "a");
  EXPECT_EQ(h.launcher.launches[0].Parameters, "-1");
  EXPECT_EQ(h.launcher.launches[0].At, 1001u);
  EXPECT_EQ(h.launcher.launches[1].At, 1002u);
  EXPECT_EQ(h.launcher.launches[2].At, 3003u);
  EXPECT_EQ(h.ui.Caption(), "Pellox | /lists/run.lst");
  EXPECT_TRUE(h.pump.QuitPending());
  EXPECT_EQ(h.form.ListDir, "/opt/pellox tools/");
}

TEST_F(UnattendedRunTest, AFileThatDoesNotLoadLeavesTheWindowOpenAndEmpty) {
  for (const char* contents : {"0\r\n0\r\n", "garbage"}) {
    FormHarness harness;
    harness.files.files["/lists/run.lst"] = contents;
    harness.process.arguments = {"/lists/run.lst"};
    harness.Show();
    EXPECT_EQ(harness.ui.Caption(), "Pellox");
    EXPECT_EQ(harness.form.ListFileName, "");
    EXPECT_FALSE(harness.pump.QuitPending());
    EXPECT_TRUE(harness.ui.ErrorBoxes().empty());
  }
  FormHarness missing;
  missing.process.arguments = {"/lists/none.lst"};
  missing.Show();
  EXPECT_EQ(missing.ui.Caption(), "Pellox");
  EXPECT_FALSE(missing.pump.QuitPending());
}

TEST_F(UnattendedRunTest, APrinterErrorIsReportedAndTheWindowStaysWithTheList) {
  h.printers.installed = {{"Laser", {}}};
  StartWith("1\r\n1\r\n0\r\na\r\n\r\n");
  EXPECT_TRUE(h.launcher.launches.empty());
  EXPECT_FALSE(h.pump.QuitPending());
  ASSERT_EQ(h.ui.ErrorBoxes().size(), 1u);
  EXPECT_EQ(h.ui.Caption(), "Pellox | /lists/run.lst");
  EXPECT_EQ(h.form.EntryCount, 1);
  EXPECT_EQ(h.ui.ItemIndex(), 1);
}

}  // namespace
}  // namespace pellox::testing
