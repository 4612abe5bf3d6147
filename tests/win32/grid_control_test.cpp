// The run-list grid window under Wine: keys, clicks, wheel and scroll bars
// reach the core's GridModel, and the view follows it.
#include "platform/win32/grid_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;
using win32::GridGeometry;

class GridControlTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    Win32ProgramTest::SetUp();
    ShowNormally();
    grid_ = Control(ControlId::StringGrid1);
  }
  void TearDown() override {
    SetKeyHeld(VK_SHIFT, false);
    SetKeyHeld(VK_CONTROL, false);
    Win32ProgramTest::TearDown();
  }

  const GridModel& Model() { return program_.Window().Grid().Model(); }
  void SetRows(int rows) { program_.Form().StringGrid1.SetRowCount(rows); }
  void Key(WPARAM key) { SendMessageA(grid_, WM_KEYDOWN, key, 0); }
  void KeyWith(int modifier, WPARAM key) {
    SetKeyHeld(modifier, true);
    Key(key);
    SetKeyHeld(modifier, false);
  }
  void Wheel(int delta) {
    SendMessageA(grid_, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(delta)) << 16, 0);
  }
  // The client y of the middle of `row` in the current scroll position.
  int MiddleOf(int row) {
    return (1 + row - Model().TopRow()) * GridGeometry::kRowPitch + layout::kGridRowHeight / 2;
  }
  void Click(int x, int y, WPARAM keys = 0) {
    SendMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    SendMessageA(grid_, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
  }
  // Moves the pointer itself too: while the grid holds the capture, the
  // system reports the real pointer's moves to it.
  void DragTo(int x, int y) {
    POINT point{x, y};
    ClientToScreen(grid_, &point);
    SetCursorPos(point.x, point.y);
    SendMessageA(grid_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
  }
  // The painted header row, as the screen shows it.
  std::vector<uint32_t> HeaderPixels() {
    RedrawWindow(grid_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(grid_, &client);
    const int width = client.right;
    const int height = layout::kGridRowHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(grid_);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + width * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(grid_, screen);
    return pixels;
  }
  SCROLLINFO VerticalBar() {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(grid_, SB_VERT, &info);
    return info;
  }
  int FullyVisibleRows() {
    RECT client;
    GetClientRect(grid_, &client);
    return (client.bottom - GridGeometry::kRowPitch) / GridGeometry::kRowPitch;
  }

  HWND grid_ = nullptr;
};

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

TEST_F(GridControlTest, ArrowKeysMoveTheCurrentRowWithinTheList) {
  SetRows(30);
  Key(VK_DOWN);
  Key(VK_RIGHT);
  EXPECT_EQ(3, Model().CurrentRow());
  Key(VK_UP);
  EXPECT_EQ(2, Model().CurrentRow());
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(1, Model().CurrentRow());  // row 0 is the header
}

TEST_F(GridControlTest, HomeEndAndPageKeys) {
  SetRows(30);
  Key(VK_END);
  EXPECT_EQ(29, Model().CurrentRow());
  Key(VK_HOME);
  EXPECT_EQ(1, Model().CurrentRow());
  Key(VK_NEXT);
  EXPECT_EQ(1 + (FullyVisibleRows() - 1), Model().CurrentRow());
  Key(VK_PRIOR);
  EXPECT_EQ(1, Model().CurrentRow());
}

TEST_F(GridControlTest, CtrlDownScrollsWithoutMovingTheCurrentRow) {
  SetRows(30);
  KeyWith(VK_CONTROL, VK_DOWN);
  EXPECT_EQ(1, Model().CurrentRow());
  EXPECT_EQ(2, Model().TopRow());
  EXPECT_EQ(2, VerticalBar().nPos);
  KeyWith(VK_CONTROL, VK_RIGHT);
  EXPECT_EQ(1, Model().CurrentRow());
}

TEST_F(GridControlTest, ShiftExtendsTheBlockFromWhereItStarted) {
  SetRows(30);
  KeyWith(VK_SHIFT, VK_DOWN);
  KeyWith(VK_SHIFT, VK_DOWN);
  EXPECT_EQ(3, Model().CurrentRow());
  EXPECT_EQ(1, Model().BlockTop());
  EXPECT_EQ(3, Model().BlockBottom());
  Key(VK_DOWN);
  EXPECT_EQ(4, Model().BlockTop());
  EXPECT_EQ(4, Model().BlockBottom());
}

TEST_F(GridControlTest, TheScrollBarFollowsTheCurrentRow) {
  SetRows(30);
  EXPECT_TRUE(GetWindowLongA(grid_, GWL_STYLE) & WS_VSCROLL);
  Key(VK_END);
  const SCROLLINFO bar = VerticalBar();
  EXPECT_EQ(29, bar.nMax);
  EXPECT_EQ(static_cast<UINT>(Model().VisibleRows()), bar.nPage);
  EXPECT_EQ(Model().TopRow(), bar.nPos);
  EXPECT_EQ(29, Model().TopRow() + Model().VisibleRows() - 1);
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

TEST_F(GridControlTest, EachWheelStepMovesTheCurrentRowByOne) {
  SetRows(30);
  Wheel(-2 * WHEEL_DELTA);
  EXPECT_EQ(3, Model().CurrentRow());
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(2, Model().CurrentRow());
}

TEST_F(GridControlTest, AClickMakesADataRowCurrentAndAHeaderClickChangesNothing) {
  SetRows(10);
  Click(100, MiddleOf(3));
  EXPECT_EQ(3, Model().CurrentRow());
  EXPECT_EQ(grid_, GetFocus());
  Click(100, layout::kGridRowHeight / 2);  // header, away from a border
  EXPECT_EQ(3, Model().CurrentRow());
  EXPECT_EQ(40, program_.Window().Grid().ColumnWidth(0));
}

TEST_F(GridControlTest, ShiftClickExtendsTheBlockAndKeepsTheCurrentRow) {
  SetRows(10);
  Click(100, MiddleOf(3));
  Click(100, MiddleOf(6), MK_SHIFT);
  EXPECT_EQ(3, Model().CurrentRow());
  EXPECT_EQ(3, Model().BlockTop());
  EXPECT_EQ(6, Model().BlockBottom());
}

TEST_F(GridControlTest, DraggingWithTheButtonHeldExtendsTheBlock) {
  SetRows(10);
  SendMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, MiddleOf(2)));
  SendMessageA(grid_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, MiddleOf(5)));
  SendMessageA(grid_, WM_LBUTTONUP, 0, MAKELPARAM(100, MiddleOf(5)));
  EXPECT_EQ(2, Model().CurrentRow());
  EXPECT_EQ(2, Model().BlockTop());
  EXPECT_EQ(5, Model().BlockBottom());
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
  for (int i = 0; i < 10; ++i) KeyWith(VK_CONTROL, VK_DOWN);
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

}  // namespace
}  // namespace pellox::testing
