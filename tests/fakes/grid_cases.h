// The run-list grid's user actions as the front ends' tests check them: a
// start state, a key, click or wheel turn, and the core's GridModel call it
// stands for. A front end's test sends its own event for each case to its
// real grid and expects the form's grid to end where a reference grid ends
// after the core's call, so the navigation rules themselves are tested once,
// in the core's tests.
#pragma once

#include <ostream>

#include "case_label.h"
#include "window/grid_model.h"
#include "window/grid_mouse.h"

namespace pellox::testing {

// What a user sees of a grid's navigation state.
struct GridState {
  int CurrentRow = 0;
  int BlockTop = 0;
  int BlockBottom = 0;
  int TopRow = 0;
  bool operator==(const GridState&) const = default;
};

inline GridState StateOf(const GridModel& grid) {
  return {grid.CurrentRow(), grid.BlockTop(), grid.BlockBottom(), grid.TopRow()};
}

inline void PrintTo(const GridState& state, std::ostream* out) {
  *out << "current row " << state.CurrentRow << ", block " << state.BlockTop << " to "
       << state.BlockBottom << ", top row " << state.TopRow;
}

// Gives `reference` the row count and visible rows of `grid` (the form's
// grid, shown by the front end), and brings both to current row `row` with
// the block reaching to `blockEnd`, as a click and a Shift+click do.
inline void StartAlike(GridModel& grid, GridModel& reference, int row, int blockEnd) {
  reference.SetRowCount(grid.RowCount());
  reference.SetVisibleRows(grid.VisibleRows());
  for (GridModel* each : {&grid, &reference}) {
    each->Click(row, false);
    each->Click(blockEnd, true);
  }
}

// The data rows the cases are written for.
inline constexpr int kGridCaseEntries = 60;

struct GridKeyCase {
  const char* Label;
  int StartRow;  // the current row before the key
  int BlockEnd;  // where the block reaches before the key
  GridKey Key;
  bool Shift;
  bool Ctrl;
};

inline void PrintTo(const GridKeyCase& key, std::ostream* out) { *out << key.Label; }

// Every navigation key alone and with Ctrl or Shift, from a row in the
// middle of the list (the view scrolled down) unless a case says otherwise.
inline constexpr GridKeyCase kGridKeyCases[] = {
    {"Down", 20, 20, GridKey::Down, false, false},
    {"Up", 20, 20, GridKey::Up, false, false},
    {"Right", 20, 20, GridKey::Right, false, false},
    {"Left", 20, 20, GridKey::Left, false, false},
    {"Up_on_the_first_row", 1, 1, GridKey::Up, false, false},
    {"Down_on_the_last_row", kGridCaseEntries, kGridCaseEntries, GridKey::Down, false, false},
    {"Page_Down", 20, 20, GridKey::PageDown, false, false},
    {"Page_Up", 20, 20, GridKey::PageUp, false, false},
    {"Home", 20, 20, GridKey::Home, false, false},
    {"End", 20, 20, GridKey::End, false, false},
    {"Ctrl_Home", 20, 20, GridKey::Home, false, true},
    {"Ctrl_End", 20, 20, GridKey::End, false, true},
    {"Ctrl_Page_Down", 20, 20, GridKey::PageDown, false, true},
    {"Ctrl_Page_Up", 20, 20, GridKey::PageUp, false, true},
    {"Ctrl_Down", 20, 20, GridKey::Down, false, true},
    {"Ctrl_Up", 20, 20, GridKey::Up, false, true},
    {"Ctrl_Left", 20, 20, GridKey::Left, false, true},
    {"Ctrl_Right", 20, 20, GridKey::Right, false, true},
    {"Shift_Down", 20, 22, GridKey::Down, true, false},
    {"Shift_Up", 20, 22, GridKey::Up, true, false},
    {"Shift_Up_above_the_start", 20, 20, GridKey::Up, true, false},
    {"Shift_Page_Down", 20, 20, GridKey::PageDown, true, false},
    {"Shift_End", 20, 20, GridKey::End, true, false},
    {"Shift_Home", 20, 20, GridKey::Home, true, false},
    {"Down_after_a_block", 20, 22, GridKey::Down, false, false},
};

inline void Apply(const GridKeyCase& key, GridModel& grid) {
  grid.Key(key.Key, key.Shift, key.Ctrl);
}

enum class GridGesture {
  Click,        // a click on data row Row
  ShiftClick,   // the same with Shift held
  DragTo,       // the button pressed on StartRow and moved to Row
  HeaderClick,  // a click on the heading row, away from a column border
};

struct GridMouseCase {
  const char* Label;
  int StartRow;
  GridGesture Gesture;
  int Row;
};

inline void PrintTo(const GridMouseCase& mouse, std::ostream* out) { *out << mouse.Label; }

// On rows the view shows without scrolling.
inline constexpr GridMouseCase kGridMouseCases[] = {
    {"Click_below", 3, GridGesture::Click, 6},
    {"Click_above", 6, GridGesture::Click, 2},
    {"Shift_click_below", 3, GridGesture::ShiftClick, 6},
    {"Shift_click_above", 6, GridGesture::ShiftClick, 2},
    {"Drag_down", 3, GridGesture::DragTo, 6},
    {"Drag_up", 6, GridGesture::DragTo, 2},
    {"Header_click", 4, GridGesture::HeaderClick, 0},
};

// The core's call for the gesture.
inline void Apply(const GridMouseCase& mouse, GridModel& grid) {
  switch (mouse.Gesture) {
    case GridGesture::Click:
      return grid.Click(mouse.Row, false);
    case GridGesture::ShiftClick:
      return grid.Click(mouse.Row, true);
    case GridGesture::DragTo:
      grid.Click(mouse.StartRow, false);
      return grid.Click(mouse.Row, true);
    case GridGesture::HeaderClick:
      return grid.Click(0, false);
  }
}

struct GridWheelCase {
  const char* Label;
  int StartRow;
  int Delta;  // in the systems' common unit, WheelSteps::kNotch a notch
  int Turns;  // how often the wheel sends it
};

inline void PrintTo(const GridWheelCase& wheel, std::ostream* out) { *out << wheel.Label; }

inline constexpr GridWheelCase kGridWheelCases[] = {
    {"One_notch_towards_the_user", 5, -WheelSteps::kNotch, 1},
    {"Two_notches_at_once", 5, -2 * WheelSteps::kNotch, 1},
    {"One_notch_away", 5, WheelSteps::kNotch, 1},
    {"Two_notches_one_by_one", 5, WheelSteps::kNotch, 2},
    {"Half_notches", 5, -WheelSteps::kNotch / 2, 3},
    {"Away_on_the_first_row", 1, WheelSteps::kNotch, 1},
};

// The core's calls for the wheel's turns, each delta going through the
// front end's WheelSteps first.
inline void Apply(const GridWheelCase& wheel, GridModel& grid) {
  WheelSteps steps;
  for (int turn = 0; turn < wheel.Turns; ++turn) {
    if (const int rows = steps.Take(wheel.Delta)) grid.Wheel(rows);
  }
}

}  // namespace pellox::testing
