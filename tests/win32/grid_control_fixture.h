// The run-list grid window under Wine, as its tests drive it: the real
// window of the whole program, its keys, clicks, drags and wheel turns
// sent as the system sends them, and the mapping fixture that starts the
// form's grid and a reference grid alike for the cases of grid_cases.h.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "grid_cases.h"
#include "platform/win32/grid_control.h"
#include "win32_program_fixture.h"

namespace pellox::testing {

using win32::GridGeometry;

class GridControlTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    Win32ProgramTest::SetUp();
    ShowNormally();
    grid_ = Control(layout::ControlId::StringGrid1);
  }
  void TearDown() override {
    SetKeyHeld(VK_SHIFT, false);
    SetKeyHeld(VK_CONTROL, false);
    Win32ProgramTest::TearDown();
  }

  // The form's grid, which the window shows.
  GridModel& Model() { return program_.Window().Grid().Model(); }
  void SetRows(int rows) { program_.Form().StringGrid1.SetRowCount(rows); }
  // A key press with Shift and Ctrl held or not.
  void Key(WPARAM key, bool shift = false, bool ctrl = false) {
    SetKeyHeld(VK_SHIFT, shift);
    SetKeyHeld(VK_CONTROL, ctrl);
    SendMessageA(grid_, WM_KEYDOWN, key, 0);
    SetKeyHeld(VK_SHIFT, false);
    SetKeyHeld(VK_CONTROL, false);
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
  // The button pressed at one row, moved to another inside the window and
  // released there.
  void DragRows(int from, int to) {
    SendMessageA(grid_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, MiddleOf(from)));
    SendMessageA(grid_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, MiddleOf(to)));
    SendMessageA(grid_, WM_LBUTTONUP, 0, MAKELPARAM(100, MiddleOf(to)));
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
    std::vector<uint32_t> pixels(first, first + static_cast<ptrdiff_t>(width) * height);
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

// The window's key for each of the core's keys.
inline WPARAM VirtualKeyOf(GridKey key) {
  switch (key) {
    case GridKey::Up:
      return VK_UP;
    case GridKey::Down:
      return VK_DOWN;
    case GridKey::Left:
      return VK_LEFT;
    case GridKey::Right:
      return VK_RIGHT;
    case GridKey::PageUp:
      return VK_PRIOR;
    case GridKey::PageDown:
      return VK_NEXT;
    case GridKey::Home:
      return VK_HOME;
    case GridKey::End:
      return VK_END;
  }
  return 0;
}

// Each case starts the form's grid and a reference grid alike, sends the
// window the real key, click or wheel turn, and gives the reference the
// core's call: both end alike, and the scroll bar shows the top row.
class GridControlMappingTest : public GridControlTest {
 protected:
  void StartAt(int row, int blockEnd) {
    SetRows(kGridCaseEntries + 1);
    StartAlike(Model(), reference_, row, blockEnd);
    ASSERT_EQ(StateOf(reference_), StateOf(Model()));
  }
  // The window's own event for each case, and the core's call for the
  // reference.
  void Perform(const GridKeyCase& c) {
    Key(VirtualKeyOf(c.Key), c.Shift, c.Ctrl);
    Apply(c, reference_);
  }
  void Perform(const GridMouseCase& c) {
    switch (c.Gesture) {
      case GridGesture::Click:
        Click(100, MiddleOf(c.Row));
        break;
      case GridGesture::ShiftClick:
        Click(100, MiddleOf(c.Row), MK_SHIFT);
        break;
      case GridGesture::DragTo:
        DragRows(c.StartRow, c.Row);
        break;
      case GridGesture::HeaderClick:
        Click(100, layout::kGridRowHeight / 2);
        break;
    }
    Apply(c, reference_);
  }
  void Perform(const GridWheelCase& c) {
    for (int turn = 0; turn < c.Turns; ++turn) Wheel(c.Delta);
    Apply(c, reference_);
  }
  void ExpectWhatTheCoreDoes() {
    EXPECT_EQ(StateOf(reference_), StateOf(Model()));
    EXPECT_EQ(Model().TopRow(), VerticalBar().nPos);
  }

  GridModel reference_;
};

}  // namespace pellox::testing
