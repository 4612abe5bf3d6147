// The run-list grid on screen: the form's grid model (cells, row count,
// column widths, current row, block, scroll position) as the view shows
// them, and the user's keys, clicks and wheel turns reaching the grid model
// as the core's calls they stand for (the tables of grid_cases.h). Row
// numbers are grid rows; row 0 is the header, so table row r of the view is
// grid row r + 1.
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOption>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

#include "grid_cases.h"
#include "platform/qt/grid_header.h"
#include "platform/qt/grid_view.h"
#include "window/layout.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

constexpr int kRowPitch = layout::kGridRowHeight + layout::kGridLineWidth;

class QtGridViewTest : public WindowFixture {
 protected:
  void SetUp() override {
    ShowWindow();
    view = window->Grid();
  }

  // A list of `entries` rows, each cell naming its place.
  void FillRows(int entries) {
    Grid().SetRowCount(entries + 1);
    for (int row = 1; row <= entries; ++row) {
      for (int column = 0; column < layout::kGridColumns; ++column) {
        Grid().SetCell(column, row, "c" + std::to_string(column) + "r" + std::to_string(row));
      }
    }
    ProcessMessages();
  }

  QAbstractItemModel* Shown() const { return view->model(); }
  int ShownRowCount() const { return Shown()->rowCount() + 1; }
  QString ShownCell(int column, int row) const {
    return Shown()->index(row - 1, column).data().toString();
  }
  int ShownCurrentRow() const { return view->currentIndex().row() + 1; }
  // The first row shown whole: scrolled to the end, the view shows the row
  // above it in part.
  int ShownTopRow() const {
    const int row = view->rowAt(0) + 1;
    return RowFullyShown(row) ? row : row + 1;
  }
  std::vector<int> ShownBlock() const {
    std::vector<int> rows;
    for (int row = 1; row < ShownRowCount(); ++row) {
      if (view->selectionModel()->isRowSelected(row - 1, QModelIndex())) rows.push_back(row);
    }
    return rows;
  }
  static std::vector<int> Rows(int first, int last) {
    std::vector<int> rows;
    for (int row = first; row <= last; ++row) rows.push_back(row);
    return rows;
  }
  bool RowFullyShown(int row) const {
    const QRect rect = view->visualRect(Shown()->index(row - 1, 0));
    return rect.isValid() && rect.top() >= 0 && rect.bottom() < view->viewport()->height();
  }
  int FullyVisibleRows() const { return view->viewport()->height() / kRowPitch; }

  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(view, key, modifiers);
  }
  QPoint RowCentre(int row) const { return view->visualRect(Shown()->index(row - 1, 1)).center(); }
  void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, RowCentre(row));
  }
  // One turn of the wheel, by `delta` eighths of a degree.
  void Wheel(int delta) {
    const QPoint at = RowCentre(1);
    QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view->viewport(), &wheel);
  }
  // The button pressed at one row, moved to another and released there.
  void DragRows(int from, int to) {
    QWidget* rows = view->viewport();
    QTest::mousePress(rows, Qt::LeftButton, Qt::NoModifier, RowCentre(from));
    QMouseEvent drag(QEvent::MouseMove, QPointF(RowCentre(to)), rows->mapToGlobal(RowCentre(to)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rows, &drag);
    QTest::mouseRelease(rows, Qt::LeftButton, Qt::NoModifier, RowCentre(to));
  }
  // A click on the heading of column 2, away from its borders.
  void ClickHeader() {
    QHeaderView* header = view->horizontalHeader();
    const QPoint inSection(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                           header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, inSection);
  }
  void ExpectCurrentRow(int row) {
    EXPECT_EQ(Grid().CurrentRow(), row);
    EXPECT_EQ(ShownCurrentRow(), row);
    EXPECT_TRUE(RowFullyShown(row));
  }

  // Presses on the right border of `column` in the header row (its grid
  // line) and moves it by `by` pixels; gives where the pointer is.
  QPoint PressAndMoveBorder(int column, int by) {
    QHeaderView* header = view->horizontalHeader();
    QWidget* area = header->viewport();
    const int border = header->sectionViewportPosition(column) + header->sectionSize(column);
    const int y = header->height() / 2;
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(border - 1, y));
    const QPoint to(border - 1 + by, y);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), area->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &move);
    return to;
  }
  // Drags the right border of `column` in the header row by `by` pixels.
  void DragBorder(int column, int by) {
    const QPoint to = PressAndMoveBorder(column, by);
    QTest::mouseRelease(view->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, to);
  }
  QColor LineColor() const {
    QStyleOptionViewItem option;
    option.initFrom(view);
    return QColor::fromRgba(
        static_cast<QRgb>(view->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, view)));
  }
  // Where pixels of the line colour lie along row (or column) `at` of the
  // picture, up to `length`.
  static std::vector<int> LinesAlong(const QImage& image, const QColor& line, bool horizontal,
                                     int at, int length) {
    std::vector<int> found;
    for (int i = 0; i < length; ++i) {
      const QPoint point = horizontal ? QPoint(i, at) : QPoint(at, i);
      if (image.valid(point) && image.pixelColor(point) == line) found.push_back(i);
    }
    return found;
  }
  // The smallest rectangle around the pixels in `area` that are not `back`.
  static QRect InkIn(const QImage& image, const QRect& area, const QColor& back) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        if (image.pixelColor(x, y) != back) ink |= QRect(x, y, 1, 1);
      }
    }
    return ink;
  }

  GridView* view = nullptr;
};

TEST_F(QtGridViewTest, ACellWrittenBeyondTheRowCountShowsWhenTheCountReachesIt) {
  Grid().SetRowCount(3);
  Grid().SetCell(2, 5, "late");
  ProcessMessages();
  EXPECT_EQ(ShownRowCount(), 3);
  Grid().SetRowCount(6);
  ProcessMessages();
  EXPECT_EQ(ShownRowCount(), 6);
  EXPECT_EQ(ShownCell(2, 5), "late");
  EXPECT_EQ(Grid().Cell(2, 5), "late");
}

TEST_F(QtGridViewTest, ShrinkingAndGrowingTheRowCountBringsTheOldTextsBack) {
  FillRows(5);
  Grid().SetRowCount(2);
  ProcessMessages();
  EXPECT_EQ(ShownRowCount(), 2);
  Grid().SetRowCount(6);
  ProcessMessages();
  for (int row = 2; row <= 5; ++row) {
    for (int column = 0; column < layout::kGridColumns; ++column) {
      const std::string expected = "c" + std::to_string(column) + "r" + std::to_string(row);
      EXPECT_EQ(ShownCell(column, row), QString::fromStdString(expected));
      EXPECT_EQ(Grid().Cell(column, row), expected);
    }
  }
}

TEST_F(QtGridViewTest, ACurrentRowThatDropsOutMovesToTheNewLastRow) {
  FillRows(5);
  ClickRow(5);
  ExpectCurrentRow(5);
  Grid().SetRowCount(2);
  EXPECT_EQ(Grid().CurrentRow(), 1);
  ProcessMessages();
  ExpectCurrentRow(1);
  EXPECT_EQ(ShownBlock(), Rows(1, 1));
}

TEST_F(QtGridViewTest, ACellNeverWrittenReadsEmpty) {
  EXPECT_EQ(Grid().Cell(3, 1), "");
  EXPECT_EQ(Grid().Cell(0, 123456), "");
  EXPECT_EQ(ShownCell(3, 1), "");
}

TEST_F(QtGridViewTest, TheHeaderShowsRowZeroAndStaysWhenTheRowsScroll) {
  Grid().SetCell(1, 0, "Delay");
  FillRows(100);
  Press(Qt::Key_End);
  EXPECT_GT(ShownTopRow(), 1);
  EXPECT_EQ(Shown()->headerData(1, Qt::Horizontal).toString(), "Delay");
  EXPECT_TRUE(view->horizontalHeader()->isVisible());
  EXPECT_EQ(view->horizontalHeader()->height(), kRowPitch);
  EXPECT_FALSE(view->verticalHeader()->isVisible());
}

TEST_F(QtGridViewTest, CellWritesReachTheViewTogetherWhenEventsAreProcessed) {
  QSignalSpy cells(Shown(), &QAbstractItemModel::dataChanged);
  QSignalSpy rows(Shown(), &QAbstractItemModel::rowsInserted);
  for (int count = 3; count <= 12; ++count) Grid().SetRowCount(count);
  for (int row = 1; row < 12; ++row) Grid().SetCell(0, row, "x");
  EXPECT_EQ(cells.count(), 0);
  EXPECT_EQ(rows.count(), 0);
  ProcessMessages();
  EXPECT_EQ(cells.count(), 1);
  EXPECT_EQ(rows.count(), 1);
  EXPECT_EQ(ShownRowCount(), 12);
  EXPECT_EQ(ShownCell(0, 11), "x");
}

TEST_F(QtGridViewTest, AMillionRowsLoadAndTheLastOneCanBeReached) {
  constexpr int kRows = 1000000;
  Grid().SetRowCount(kRows + 1);
  Grid().SetCell(2, kRows, "last");
  ProcessMessages();
  EXPECT_EQ(ShownRowCount(), kRows + 1);
  Press(Qt::Key_End);
  ExpectCurrentRow(kRows);
  EXPECT_EQ(ShownCell(2, kRows), "last");
  Grid().SetRowCount(2);
  ProcessMessages();
  EXPECT_EQ(ShownRowCount(), 2);
  ExpectCurrentRow(1);
}

TEST_F(QtGridViewTest, ColumnWidthsAreSetByTheGridAndSurviveRowCountChanges) {
  const std::vector<int> widths = {40, 64, 200, 200};
  for (int column = 0; column < layout::kGridColumns; ++column) {
    Grid().SetColWidth(column, widths[static_cast<size_t>(column)]);
  }
  FillRows(30);
  Grid().SetRowCount(3);
  ProcessMessages();
  for (int column = 0; column < layout::kGridColumns; ++column) {
    EXPECT_EQ(view->ColumnWidth(column), widths[static_cast<size_t>(column)]) << column;
    EXPECT_EQ(view->horizontalHeader()->sectionResizeMode(column), QHeaderView::Interactive);
  }
}

TEST_F(QtGridViewTest, DraggingAHeaderBorderChangesTheColumnWidth) {
  const int before = view->ColumnWidth(0);
  DragBorder(0, 30);
  EXPECT_EQ(view->ColumnWidth(0), before + 30);
  EXPECT_EQ(Grid().ColWidth(0), before + 30);  // the form's grid has it too
}

TEST_F(QtGridViewTest, ADragToOnePixelOrLessKeepsTheOldWidth) {
  Grid().SetColWidth(1, 64);
  for (int width : {1, 0, -20}) {
    DragBorder(1, width - view->ColumnWidth(1));
    EXPECT_EQ(view->ColumnWidth(1), 64) << width;
    EXPECT_EQ(Grid().ColWidth(1), 64) << width;
  }
  DragBorder(1, 2 - 64);
  EXPECT_EQ(view->ColumnWidth(1), 2);
  EXPECT_EQ(Grid().ColWidth(1), 2);
}

// As on Windows: while a border is dragged, a dotted line (every other
// pixel inverted) follows the pointer down the header and the rows, and the
// width changes only when the button is released.
TEST_F(QtGridViewTest, ABorderDragShowsADottedLineAndTakesTheWidthOnRelease) {
  Grid().SetColWidth(1, 64);
  FillRows(3);
  ClickRow(1);  // a press on the header focuses the grid: its frame is seen before too
  ASSERT_TRUE(view->hasFocus());
  QWidget* header = view->horizontalHeader()->viewport();
  const QImage headerBefore = header->grab().toImage();
  const QImage rowsBefore = view->viewport()->grab().toImage();
  const int x = PressAndMoveBorder(1, 30).x();
  const QImage headerDuring = header->grab().toImage();
  const QImage rowsDuring = view->viewport()->grab().toImage();
  EXPECT_EQ(view->ColumnWidth(1), 64) << "the width changed during the drag";
  EXPECT_EQ(Grid().ColWidth(1), 64);
  // `gridY`: the image's top in the grid, for the checkerboard's phase.
  const auto expectLine = [&](const QImage& before, const QImage& during, int gridY) {
    for (int y = 0; y < during.height(); ++y) {
      const QColor under = before.pixelColor(x, y);
      const QColor inverted(255 - under.red(), 255 - under.green(), 255 - under.blue());
      ASSERT_EQ(during.pixelColor(x, y), (x + y + gridY) % 2 == 0 ? inverted : under) << y;
      for (int beside : {x - 1, x + 1}) {
        ASSERT_EQ(during.pixelColor(beside, y), before.pixelColor(beside, y)) << beside << "," << y;
      }
    }
  };
  expectLine(headerBefore, headerDuring, 0);
  expectLine(rowsBefore, rowsDuring, header->height());

  QTest::mouseRelease(header, Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
  EXPECT_EQ(view->ColumnWidth(1), 94);
  EXPECT_EQ(Grid().ColWidth(1), 94);
  // The line has gone: the new border is a plain grid line.
  const QImage headerAfter = header->grab().toImage();
  for (int y = 0; y < layout::kGridRowHeight; ++y) {
    EXPECT_EQ(headerAfter.pixelColor(x, y), LineColor()) << y;
  }
}

// The release went elsewhere (a box took the mouse): the next move without
// the button ends the drag and the width stays.
TEST_F(QtGridViewTest, ABorderDragWhoseReleaseWentElsewhereEndsWithoutAWidth) {
  Grid().SetColWidth(1, 64);
  QWidget* header = view->horizontalHeader()->viewport();
  const QPoint at = PressAndMoveBorder(1, 30);
  QMouseEvent move(QEvent::MouseMove, QPointF(at), header->mapToGlobal(at), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(header, &move);
  EXPECT_FALSE(static_cast<GridHeader*>(view->horizontalHeader())->DragLineX());
  QTest::mouseRelease(header, Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(view->ColumnWidth(1), 64);
  EXPECT_EQ(Grid().ColWidth(1), 64);
}

TEST_F(QtGridViewTest, RowsAreTwentyFourPixelsAndColumnsTheirWidthBetweenTheGridLines) {
  for (int column = 0; column < layout::kGridColumns; ++column) {
    Grid().SetColWidth(column, layout::GridColumnWidth(column));
  }
  FillRows(3);
  const QImage rows = view->viewport()->grab().toImage();
  const QColor line = LineColor();
  // Under the text of row 2, which is not highlighted.
  const int y = kRowPitch + layout::kGridRowHeight - 3;
  EXPECT_EQ(LinesAlong(rows, line, true, y, 510), (std::vector<int>{40, 105, 306, 507}));
  const int x = view->columnViewportPosition(3) + 150;
  EXPECT_EQ(LinesAlong(rows, line, false, x, 3 * kRowPitch), (std::vector<int>{24, 49, 74}));

  const QImage header = view->horizontalHeader()->viewport()->grab().toImage();
  EXPECT_EQ(header.height(), kRowPitch);
  EXPECT_EQ(LinesAlong(header, line, true, layout::kGridRowHeight - 1, 510),
            (std::vector<int>{40, 105, 306, 507}));
  EXPECT_EQ(LinesAlong(header, line, false, x, kRowPitch), std::vector<int>{24});
}

TEST_F(QtGridViewTest, TheHeaderIsFlatButtonFaceWithItsTextTwoPixelsInLikeTheCells) {
  Grid().SetColWidth(1, 64);
  Grid().SetCell(1, 0, "Delay");
  FillRows(3);
  Grid().SetCell(1, 2, "Delay");
  ProcessMessages();
  const QImage header = view->horizontalHeader()->viewport()->grab().toImage();
  const QImage rows = view->viewport()->grab().toImage();
  const QColor face = view->palette().color(QPalette::Button);
  const int left = view->columnViewportPosition(1);
  const QRect cell(left, 0, 64, layout::kGridRowHeight);
  // No gradient: the cell's edges right of the text have the face colour.
  for (int y = 0; y < layout::kGridRowHeight; ++y) {
    EXPECT_EQ(header.pixelColor(cell.right(), y), face) << y;
  }
  const QRect headerInk = InkIn(header, cell, face);
  const QRect cellInk =
      InkIn(rows, cell.translated(0, kRowPitch), view->palette().color(QPalette::Base));
  ASSERT_FALSE(headerInk.isEmpty());
  EXPECT_EQ(headerInk, cellInk.translated(0, -kRowPitch));
  EXPECT_LE(headerInk.left() - left, layout::kGridRowHeight / 4);
  EXPECT_LE(headerInk.top(), layout::kGridRowHeight / 4);
}

TEST_F(QtGridViewTest, AClickDrawsTheDottedFocusRectangleAroundTheRow) {
  FillRows(5);
  ClickRow(3);
  ASSERT_TRUE(view->hasFocus());
  const QImage framed = view->viewport()->grab().toImage();
  view->clearFocus();
  const QImage plain = view->viewport()->grab().toImage();
  // Every other pixel of the frame's edge is inverted, lines included.
  const auto expectFrame = [&](int x, int y) {
    const QColor under = plain.pixelColor(x, y);
    const QColor inverted(255 - under.red(), 255 - under.green(), 255 - under.blue());
    ASSERT_EQ(framed.pixelColor(x, y), (x + y) % 2 == 0 ? inverted : under) << x << "," << y;
  };
  const int top = 2 * kRowPitch;
  const int bottom = top + layout::kGridRowHeight - 1;
  const int right = view->columnViewportPosition(3) + view->ColumnWidth(3) - 1;
  for (int x = 0; x <= right; ++x) {
    expectFrame(x, top);
    expectFrame(x, bottom);
  }
  for (int y = top; y <= bottom; ++y) {
    expectFrame(0, y);
    expectFrame(right, y);
  }
  // Inside and outside the frame nothing changes.
  for (const QPoint& point : {QPoint(right + 1, top), QPoint(1, top + 1), QPoint(5, bottom + 1),
                              QPoint(right - 1, bottom - 1)}) {
    EXPECT_EQ(framed.pixelColor(point), plain.pixelColor(point)) << point.x() << "," << point.y();
  }
}

TEST_F(QtGridViewTest, TheGridTellsTheModelHowManyRowsAreFullyVisible) {
  FillRows(50);
  EXPECT_EQ(Grid().VisibleRows(), FullyVisibleRows());
  EXPECT_GE(Grid().VisibleRows(), 2);
}

TEST_F(QtGridViewTest, DraggingPastAnEdgeScrollsOnATimerUntilThePointerComesBack) {
  FillRows(100);
  QWidget* rows = view->viewport();
  const auto dragTo = [&](QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), rows->mapToGlobal(at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rows, &move);
  };
  QTest::mousePress(rows, Qt::LeftButton, Qt::NoModifier, RowCentre(2));
  dragTo(QPoint(RowCentre(2).x(), rows->height() + 10));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ShownTopRow() >= 4; }, 5000));
  const int top = ShownTopRow();
  dragTo(RowCentre(top + 1));
  EXPECT_EQ(2, ShownCurrentRow());  // scrolled out of view by now
  EXPECT_EQ(ShownBlock(), Rows(2, top + 1));
  EXPECT_FALSE(QTest::qWaitFor([&] { return ShownTopRow() != top; }, 400))
      << "back inside, nothing scrolls";

  dragTo(QPoint(RowCentre(2).x(), -5));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ShownTopRow() < top; }, 5000));
  QTest::mouseRelease(rows, Qt::LeftButton, Qt::NoModifier, QPoint(RowCentre(2).x(), -5));
  const int released = ShownTopRow();
  EXPECT_EQ(2, ShownCurrentRow());  // scrolled out of view by now
  EXPECT_EQ(ShownBlock(), Rows(std::min(2, released), std::max(2, released)));
  EXPECT_FALSE(QTest::qWaitFor([&] { return ShownTopRow() != released; }, 400))
      << "releasing the button stops the timer";
}

TEST_F(QtGridViewTest, TheScrollBarScrollsWithoutMovingTheCurrentRow) {
  FillRows(60);
  view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const int top = ShownTopRow();
  EXPECT_GT(top, 1);
  EXPECT_EQ(Grid().CurrentRow(), 1);
  // The next key goes on from the scrolled position, not from the old one.
  Press(Qt::Key_PageUp, Qt::ControlModifier);
  ExpectCurrentRow(top);
}

TEST_F(QtGridViewTest, AClickOnTheHeaderSortsNothing) {
  FillRows(8);
  Grid().SetCell(2, 1, "zz");
  ProcessMessages();
  ClickHeader();
  ClickHeader();
  EXPECT_EQ(ShownCell(2, 1), "zz");
  EXPECT_EQ(ShownCell(2, 2), "c2r2");
  EXPECT_FALSE(view->isSortingEnabled());
}

TEST_F(QtGridViewTest, NoKeyAndNoDoubleClickOpensACellEditor) {
  FillRows(8);
  Grid().SetCell(0, 6, "apple");
  ClickRow(2);
  for (Qt::Key key :
       {Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A, Qt::Key_C, Qt::Key_Space}) {
    Press(key);
    EXPECT_TRUE(view->findChildren<QLineEdit*>().isEmpty()) << key;
  }
  // Typing searches nothing and selects nothing either.
  ExpectCurrentRow(2);
  EXPECT_EQ(ShownBlock(), Rows(2, 2));
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(3));
  EXPECT_TRUE(view->findChildren<QLineEdit*>().isEmpty());
  EXPECT_EQ(Grid().Cell(1, 3), "c1r3");
  ExpectCurrentRow(3);
}

TEST_F(QtGridViewTest, TabLeavesTheGrid) {
  view->setFocus();
  ASSERT_TRUE(view->hasFocus());
  Press(Qt::Key_Tab);
  EXPECT_FALSE(view->hasFocus());
  EXPECT_EQ(QApplication::focusWidget(), window->Control(layout::ControlId::Button2));
}

TEST_F(QtGridViewTest, TheHighlightKeepsItsColoursWithoutTheFocus) {
  const QPalette colours = view->palette();
  EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
            colours.color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::HighlightedText),
            colours.color(QPalette::Active, QPalette::HighlightedText));
}

// The view's key for each of the core's keys.
Qt::Key QtKeyOf(GridKey key) {
  switch (key) {
    case GridKey::Up:
      return Qt::Key_Up;
    case GridKey::Down:
      return Qt::Key_Down;
    case GridKey::Left:
      return Qt::Key_Left;
    case GridKey::Right:
      return Qt::Key_Right;
    case GridKey::PageUp:
      return Qt::Key_PageUp;
    case GridKey::PageDown:
      return Qt::Key_PageDown;
    case GridKey::Home:
      return Qt::Key_Home;
    case GridKey::End:
      return Qt::Key_End;
  }
  return Qt::Key_unknown;
}

Qt::KeyboardModifiers ModifiersOf(bool shift, bool ctrl) {
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  if (shift) modifiers |= Qt::ShiftModifier;
  if (ctrl) modifiers |= Qt::ControlModifier;
  return modifiers;
}

// Each case starts the form's grid and a reference grid alike, sends the
// view the real key, click or wheel turn, and gives the reference the
// core's call: both end alike, and the view shows where the form's grid is.
class QtGridMappingTest : public QtGridViewTest {
 protected:
  void StartAt(int row, int blockEnd) {
    FillRows(kGridCaseEntries);
    StartAlike(Grid(), reference_, row, blockEnd);
    ProcessMessages();
    ASSERT_EQ(StateOf(reference_), StateOf(Grid()));
  }
  void ExpectWhatTheCoreDoes() {
    EXPECT_EQ(StateOf(reference_), StateOf(Grid()));
    EXPECT_EQ(ShownCurrentRow(), Grid().CurrentRow());
    EXPECT_EQ(ShownBlock(), Rows(Grid().BlockTop(), Grid().BlockBottom()));
    EXPECT_EQ(ShownTopRow(), Grid().TopRow());
  }

  GridModel reference_;
};

class QtGridKeyTest : public QtGridMappingTest,
                      public ::testing::WithParamInterface<GridKeyCase> {};

TEST_P(QtGridKeyTest, TheKeyDoesWhatTheCoreDoes) {
  const GridKeyCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.BlockEnd));
  Press(QtKeyOf(c.Key), ModifiersOf(c.Shift, c.Ctrl));
  Apply(c, reference_);
  ExpectWhatTheCoreDoes();
}

INSTANTIATE_TEST_SUITE_P(Keys, QtGridKeyTest, ::testing::ValuesIn(kGridKeyCases), CaseLabel());

class QtGridMouseTest : public QtGridMappingTest,
                        public ::testing::WithParamInterface<GridMouseCase> {};

TEST_P(QtGridMouseTest, TheGestureDoesWhatTheCoreDoes) {
  const GridMouseCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.StartRow));
  switch (c.Gesture) {
    case GridGesture::Click:
      ClickRow(c.Row);
      break;
    case GridGesture::ShiftClick:
      ClickRow(c.Row, Qt::ShiftModifier);
      break;
    case GridGesture::DragTo:
      DragRows(c.StartRow, c.Row);
      break;
    case GridGesture::HeaderClick:
      ClickHeader();
      break;
  }
  Apply(c, reference_);
  ExpectWhatTheCoreDoes();
}

INSTANTIATE_TEST_SUITE_P(Mouse, QtGridMouseTest, ::testing::ValuesIn(kGridMouseCases), CaseLabel());

class QtGridWheelTest : public QtGridMappingTest,
                        public ::testing::WithParamInterface<GridWheelCase> {};

TEST_P(QtGridWheelTest, TheWheelDoesWhatTheCoreDoes) {
  const GridWheelCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.StartRow));
  for (int turn = 0; turn < c.Turns; ++turn) Wheel(c.Delta);
  Apply(c, reference_);
  ExpectWhatTheCoreDoes();
}

INSTANTIATE_TEST_SUITE_P(Wheel, QtGridWheelTest, ::testing::ValuesIn(kGridWheelCases), CaseLabel());

}  // namespace
}  // namespace pellox::testing
