// What the mouse does to the run-list grid beyond a click: the scrolling
// while a drag is held above or below the rows, the wheel's notches turned
// into row steps, and the drag of a column's border in the header row. The
// front ends own the timer and the events and apply these rules.
// System-independent code only.
#pragma once

#include "window/grid_model.h"

namespace pellox {

// While a drag is held above or below the rows, the grid scrolls one row
// this often.
inline constexpr int kDragScrollIntervalMs = 60;

// One tick of that scrolling: one row towards the pointer (`up` when it is
// above the rows), and the block reaches to the row at that edge of the view.
void DragScrollStep(GridModel& grid, bool up);

// A press in the header row this close to a column's right border (the
// grid line right of it), in pixels either way, starts a width drag. While
// it lasts, a dotted line follows the pointer; the width changes only when
// the button is released (DropColumnBorder).
inline constexpr int kColumnBorderGrip = 3;

// A column's right border released where the column would be `width`
// pixels wide: the column takes that width when it is more than 1 pixel,
// and keeps the one it had otherwise.
void DropColumnBorder(GridModel& grid, int column, int width);

// Collects wheel deltas into whole row steps. Deltas come in the systems'
// common unit, kNotch per notch of an ordinary wheel, positive when the
// wheel turns away from the user; fine-grained wheels send parts of a notch.
class WheelSteps {
 public:
  static constexpr int kNotch = 120;

  // Adds `delta` and returns the row steps for GridModel::Wheel that the
  // whole notches so far make (away from the user moves up); the part of a
  // notch left over waits for the next delta.
  int Take(int delta);

 private:
  int remainder_ = 0;
};

}  // namespace pellox
