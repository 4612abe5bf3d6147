// The run-list grid window under Wine: its keys, clicks and wheel turns
// reach the core's GridModel as the core's calls they stand for (the tables
// of grid_cases.h), and what only the window does: the scroll bars, the
// drag scrolling's timer, painting, focus and the column borders.
#include "platform/win32/grid_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "grid_control_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;

TEST_F(GridControlTest, TheEmptyListShowsOneBlankCurrentRow) {
  EXPECT_EQ(2, Model().RowCount());
  EXPECT_EQ(1, Model().CurrentRow());
  EXPECT_EQ("Parameter", program_.Form().StringGrid1.Cell(3, 0));
  EXPECT_FALSE(GetWindowLongA(grid_, GWL_STYLE) & WS_VSCROLL);  // everything fits
}

TEST_F(GridControlTest, TheModelKnowsHowManyRowsTheWindowShows) {
  EXPECT_EQ(FullyVisibleRows(), Model().VisibleRows());
  EXPECT_GE(Model().VisibleRows(), 2);
}

TEST_F(GridControlTest, TheScrollBarSpansTheRowsAndFollowsTheTopRow) {
  SetRows(30);
  EXPECT_TRUE(GetWindowLongA(grid_, GWL_STYLE) & WS_VSCROLL);
  Key(VK_END);
  const SCROLLINFO bar = VerticalBar();
  EXPECT_EQ(29, bar.nMax);
  EXPECT_EQ(static_cast<UINT>(Model().VisibleRows()), bar.nPage);
  EXPECT_GT(Model().TopRow(), 1);
  EXPECT_EQ(Model().TopRow(), bar.nPos);
}

TEST_F(GridControlTest, TheScrollBarScrollsTheRowsOnly) {
  SetRows(30);
  SendMessageA(grid_, WM_VSCROLL, SB_LINEDOWN, 0);
  SendMessageA(grid_, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(2 + Model().VisibleRows(), Model().TopRow());
  EXPECT_EQ(1, Model().CurrentRow());
  SendMessageA(grid_, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(1, Model().TopRow());
}

TEST_F(GridControlTest, AClickFocusesTheGridAndAHeaderClickAwayFromABorderResizesNothing) {
  SetRows(10);
  Click(100, MiddleOf(3));
  EXPECT_EQ(grid_, GetFocus());
  Click(100, layout::kGridRowHeight / 2);
  for (int column = 0; column < layout::kGridColumns; ++column) {
    EXPECT_EQ(layout::kGridColumnWidths[static_cast<size_t>(column)],
              program_.Window().Grid().ColumnWidth(column))
        << column;
  }
}

TEST_F(GridControlTest, DraggingPastAnEdgeScrollsOnATimerUntilThePointerComesBack) {
  SetRows(100);
  RECT client;
  GetClientRect(grid_, &client);
  SendMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, MiddleOf(2)));
  DragTo(100, client.bottom + 10);
  ASSERT_TRUE(WaitFor([&] { return Model().TopRow() >= 4; }, 5000));
  DragTo(100, MiddleOf(Model().TopRow() + 1));
  const int top = Model().TopRow();
  EXPECT_EQ(2, Model().CurrentRow());
  EXPECT_EQ(2, Model().BlockTop());
  EXPECT_EQ(top + 1, Model().BlockBottom());

  // Back inside, the timer is off: nothing scrolls any more.
  EXPECT_FALSE(WaitFor([&] { return Model().TopRow() != top; }, 400));

  // Above the data rows it scrolls back up, taking the block along.
  DragTo(100, 2);
  ASSERT_TRUE(WaitFor([&] { return Model().TopRow() < top; }, 5000));
  SendMessageA(grid_, WM_LBUTTONUP, 0, MAKELPARAM(100, 2));
  const int released = Model().TopRow();
  EXPECT_EQ(std::min(2, released), Model().BlockTop());
  EXPECT_EQ(std::max(2, released), Model().BlockBottom());
  EXPECT_EQ(2, Model().CurrentRow());
  EXPECT_FALSE(WaitFor([&] { return Model().TopRow() != released; }, 400))
      << "releasing the button stops the timer";
}

TEST_F(GridControlTest, TheFrameOfABlockReachingAboveTheViewStaysOutOfTheHeader) {
  SetRows(100);
  Click(100, MiddleOf(2));
  for (int i = 0; i < 10; ++i) Key(VK_DOWN, false, true);
  const std::vector<uint32_t> header = HeaderPixels();
  ASSERT_FALSE(header.empty());
  Click(100, MiddleOf(Model().TopRow() + 2), MK_SHIFT);  // block from row 2, now off screen
  ASSERT_LT(Model().BlockTop(), Model().TopRow());
  EXPECT_TRUE(header == HeaderPixels()) << "the block's frame was drawn over the header";
}

TEST_F(GridControlTest, DraggingAHeaderBorderSetsTheColumnWidth) {
  // Column 1 starts after column 0 (40) and its line.
  const int border = 40 + 1 + 64;
  SendMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(border, 5));
  SendMessageA(grid_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border + 30, 5));
  SendMessageA(grid_, WM_LBUTTONUP, 0, MAKELPARAM(border + 30, 5));
  EXPECT_EQ(94, program_.Window().Grid().ColumnWidth(1));
  EXPECT_EQ(94, Model().ColWidth(1));  // the form's grid has it too
  // A width of 1 pixel or less is refused.
  SendMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 5));
  SendMessageA(grid_, WM_LBUTTONUP, 0, MAKELPARAM(1, 5));
  EXPECT_EQ(40, program_.Window().Grid().ColumnWidth(0));
  EXPECT_EQ(40, Model().ColWidth(0));
}

// While a border is dragged, a dotted line (every other pixel inverted)
// follows the pointer down the whole grid; the width changes on release.
TEST_F(GridControlTest, ABorderDragShowsADottedLineAndTakesTheWidthOnRelease) {
  SetRows(4);
  Click(100, MiddleOf(1));  // the focus frame is in the picture before the drag too
  RedrawWindow(grid_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT client;
  GetClientRect(grid_, &client);
  const int border = 40 + 1 + 64;
  const int x = border + 30;
  HDC dc = GetDC(grid_);
  std::vector<COLORREF> before;
  for (int y = 0; y < client.bottom; ++y) before.push_back(GetPixel(dc, x, y));
  SendMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(border, 5));
  SendMessageA(grid_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 5));
  EXPECT_EQ(64, Model().ColWidth(1)) << "the width changed during the drag";
  // Whether the first pixel is one of the dots: the pattern's phase.
  const bool firstIsDot = GetPixel(dc, x, 0) != before[0];
  int inverted = 0;
  for (int y = 0; y < client.bottom; ++y) {
    const COLORREF under = before[static_cast<size_t>(y)];
    const bool dot = (y % 2 == 0) == firstIsDot;
    ASSERT_EQ(GetPixel(dc, x, y), dot ? (under ^ 0xFFFFFFu) : under) << y;
    inverted += dot ? 1 : 0;
  }
  EXPECT_GE(inverted, client.bottom / 2);
  SendMessageA(grid_, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
  EXPECT_EQ(94, Model().ColWidth(1));
  RedrawWindow(grid_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // The line has gone: the new border is a plain grid line.
  for (int y = 0; y < layout::kGridRowHeight; ++y) {
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(dc, x, y)) << y;
  }
  ReleaseDC(grid_, dc);
}

TEST_F(GridControlTest, NoCellEditorOpens) {
  SetRows(5);
  SendMessageA(grid_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, MiddleOf(2)));
  Key(VK_F2);
  Key(VK_RETURN);
  SendMessageA(grid_, WM_CHAR, 'a', 0);
  Pump();
  EXPECT_EQ(nullptr, GetWindow(grid_, GW_CHILD));
  EXPECT_EQ("", program_.Form().StringGrid1.Cell(1, 2));
}

TEST_F(GridControlTest, ArrowsStayInTheGridAndTabLeavesIt) {
  const LRESULT code = SendMessageA(grid_, WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(code & DLGC_WANTARROWS);
  EXPECT_FALSE(code & DLGC_WANTTAB);
  SetRows(5);
  SetFocus(grid_);
  PostMessageA(grid_, WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  EXPECT_EQ(2, Model().CurrentRow());
  EXPECT_EQ(grid_, GetFocus());
  PostMessageA(grid_, WM_KEYDOWN, VK_TAB, 0);
  Pump();
  EXPECT_EQ(Control(ControlId::Button2), GetFocus());
}

TEST_F(GridControlTest, WritingACellOnlyMarksItsRowForPainting) {
  SetRows(100);
  UpdateWindow(grid_);
  RECT update;
  program_.Form().StringGrid1.SetCell(2, 90, "out of view");
  EXPECT_FALSE(GetUpdateRect(grid_, &update, FALSE));
  program_.Form().StringGrid1.SetCell(2, 1, "in view");
  EXPECT_TRUE(GetUpdateRect(grid_, &update, FALSE));  // painted later, by WM_PAINT
  EXPECT_EQ("in view", program_.Form().StringGrid1.Cell(2, 1));
}

TEST_F(GridControlTest, AMillionRowsStayUsable) {
  constexpr int kRows = 1000000;
  SetRows(kRows + 1);
  for (int row = 1; row <= kRows; ++row)
    program_.Form().StringGrid1.SetCell(0, row, std::to_string(row));
  Key(VK_END);
  EXPECT_EQ(kRows, Model().CurrentRow());
  EXPECT_EQ(kRows, VerticalBar().nMax);
  UpdateWindow(grid_);
  SendMessageA(grid_, WM_VSCROLL, SB_TOP, 0);
  Key(VK_HOME);
  EXPECT_EQ(1, Model().TopRow());
  EXPECT_EQ("1000000", program_.Form().StringGrid1.Cell(0, kRows));
}

TEST_F(GridControlTest, ARowCountChangeKeepsTheCellsAndMovesTheCurrentRow) {
  SetRows(6);
  program_.Form().StringGrid1.SetCell(2, 5, "five");
  Key(VK_END);
  SetRows(2);
  EXPECT_EQ(1, Model().CurrentRow());
  SetRows(6);
  EXPECT_EQ("five", program_.Form().StringGrid1.Cell(2, 5));
}

class GridControlKeyTest : public GridControlMappingTest,
                           public ::testing::WithParamInterface<GridKeyCase> {};

TEST_P(GridControlKeyTest, TheKeyDoesWhatTheCoreDoes) {
  const GridKeyCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.BlockEnd));
  Perform(c);
  ExpectWhatTheCoreDoes();
}

INSTANTIATE_TEST_SUITE_P(Keys, GridControlKeyTest, ::testing::ValuesIn(kGridKeyCases), CaseLabel());

class GridControlMouseTest : public GridControlMappingTest,
                             public ::testing::WithParamInterface<GridMouseCase> {};

TEST_P(GridControlMouseTest, TheGestureDoesWhatTheCoreDoes) {
  const GridMouseCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.StartRow));
  Perform(c);
  ExpectWhatTheCoreDoes();
}

INSTANTIATE_TEST_SUITE_P(Mouse, GridControlMouseTest, ::testing::ValuesIn(kGridMouseCases),
                         CaseLabel());

class GridControlWheelTest : public GridControlMappingTest,
                             public ::testing::WithParamInterface<GridWheelCase> {};

TEST_P(GridControlWheelTest, TheWheelDoesWhatTheCoreDoes) {
  const GridWheelCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.StartRow));
  Perform(c);
  ExpectWhatTheCoreDoes();
}

INSTANTIATE_TEST_SUITE_P(Wheel, GridControlWheelTest, ::testing::ValuesIn(kGridWheelCases),
                         CaseLabel());

}  // namespace
}  // namespace pellox::testing
