// Draws the run-list grid from its model: the header row in the button
// face colour, data cells in the window colour, the highlighted block in the
// highlight colours (focused or not), one-pixel lines and, while the grid
// has the focus, a dotted rectangle around the block. Only the rows in view
// are drawn, so the row count does not matter.
#pragma once

#include "platform/windows/win32_api.h"

#include "platform/win32/grid_geometry.h"
#include "window/grid_model.h"

namespace pellox::win32 {

class GridPainter {
 public:
  GridPainter(const GridModel& model, const GridGeometry& geometry)
      : model_(model), geometry_(geometry) {}

  // Paints the whole client area into `dc`.
  void Paint(HDC dc, HFONT font, bool focused) const;

 private:
  void PaintRow(HDC dc, int row, int top) const;
  void PaintCell(HDC dc, const RECT& cell, int column, int row) const;
  void PaintFocus(HDC dc) const;

  const GridModel& model_;
  const GridGeometry& geometry_;
};

}  // namespace pellox::win32
