#include "window/grid_mouse.h"

#include <algorithm>

namespace pellox {

void DragScrollStep(GridModel& grid, bool up) {
  grid.Key(up ? GridKey::Up : GridKey::Down, false, true);
  const int lastShown = std::min(grid.RowCount() - 1, grid.TopRow() + grid.VisibleRows() - 1);
  grid.Click(up ? grid.TopRow() : lastShown, true);
}

void DropColumnBorder(GridModel& grid, int column, int width) {
  if (width > 1) grid.SetColWidth(column, width);
}

int WheelSteps::Take(int delta) {
  remainder_ += delta;
  const int notches = remainder_ / kNotch;
  remainder_ -= notches * kNotch;
  return -notches;
}

}  // namespace pellox
