// The window after the shown handler has run at start-up, as the user sees
// it: the header row over one blank row, empty fields, the blank printer
// choice selected above the installed printers, empty status panels.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>

#include "platform/qt/grid_view.h"
#include "platform/qt/status_bar.h"
#include "window/layout.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

class QtFormShowTest : public WindowFixture {
 protected:
  QtFormShowTest() : WindowFixture({"Office Laser", "Label Printer"}) {}
  void SetUp() override {
    form->Dispatch(FormEvent::FormShow);
    ShowWindow();
  }
};

TEST_F(QtFormShowTest, TheGridShowsTheHeaderRowAndOneBlankRow) {
  const QAbstractItemModel* shown = window->Grid()->model();
  ASSERT_EQ(shown->columnCount(), layout::kGridColumns);
  for (int column = 0; column < layout::kGridColumns; ++column) {
    EXPECT_EQ(shown->headerData(column, Qt::Horizontal).toString(),
              QString::fromUtf8(layout::GridHeading(column)));
    EXPECT_EQ(window->Grid()->ColumnWidth(column), layout::GridColumnWidth(column));
  }
  ASSERT_EQ(shown->rowCount(), 1);
  for (int column = 0; column < layout::kGridColumns; ++column) {
    EXPECT_TRUE(shown->index(0, column).data().toString().isEmpty());
  }
  EXPECT_EQ(window->Grid()->currentIndex().row(), 0);
  EXPECT_TRUE(window->Grid()->selectionModel()->isRowSelected(0, QModelIndex()));
}

TEST_F(QtFormShowTest, TheFieldsAreEmpty) {
  for (layout::ControlId id :
       {layout::ControlId::Edit1, layout::ControlId::Edit2, layout::ControlId::Edit3}) {
    EXPECT_TRUE(window->Edit(id)->text().isEmpty());
  }
}

TEST_F(QtFormShowTest, TheBlankPrinterChoiceIsSelectedAboveTheInstalledPrinters) {
  const QComboBox* combo = window->ComboBox();
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(0), "");
  EXPECT_EQ(combo->itemText(1), "Office Laser");
  EXPECT_EQ(combo->itemText(2), "Label Printer");
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_TRUE(combo->currentText().isEmpty());
}

TEST_F(QtFormShowTest, TheCaptionAndTheStatusPanelsAreAsAtStart) {
  EXPECT_EQ(window->windowTitle(), "Pellox");
  for (int panel = 0; panel < StatusBar::kPanels; ++panel) {
    EXPECT_TRUE(window->Status()->Panel(panel)->text().isEmpty());
  }
}

}  // namespace
}  // namespace pellox::testing
