// Where the cells of the run-list grid lie in its client area: column
// widths, the horizontal scroll offset, row pitch and hit tests. Knows
// nothing of the cells themselves.
#pragma once

#include "platform/windows/win32_api.h"

#include <array>
#include <cstddef>

#include "window/grid_mouse.h"
#include "window/layout.h"

namespace pellox::win32 {

class GridGeometry {
 public:
  static constexpr int kRowPitch = layout::kGridRowHeight + layout::kGridLineWidth;
  // A press this close to a column's right border in the header row starts
  // a width drag.
  static constexpr int kBorderGrip = kColumnBorderGrip;

  GridGeometry();

  void SetClientSize(int width, int height);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }

  int ColumnWidth(int column) const { return widths_[static_cast<std::size_t>(column)]; }
  void SetColumnWidth(int column, int width) { widths_[static_cast<std::size_t>(column)] = width; }
  // All columns with their lines, unscrolled.
  int TotalWidth() const;
  // Left edge of `column` in client coordinates, scrolled.
  int ColumnLeft(int column) const;

  int LeftOffset() const { return leftOffset_; }
  // Clamped to what the columns leave to scroll.
  void SetLeftOffset(int offset);

  // Data rows that fit fully under the header; at least 1.
  int FullyVisibleRows() const;
  // Top of the data rows' area, under the fixed rows, however far the rows
  // are scrolled.
  int DataTop() const { return layout::kGridFixedRows * kRowPitch; }
  // Top of `row` when data row `topRow` is shown first under the header.
  int RowTop(int row, int topRow) const;
  // The row under client y; 0 for the header; may lie past the last row.
  int RowAt(int y, int topRow) const;
  // The column whose right border lies under x in the header row, or -1.
  int BorderAt(int x) const;
  // The column under client x, the grid line right of it included; -1
  // left of the first and right of the last column.
  int ColumnAt(int x) const;

  // Where the cell of `column` and `row` is painted, without its grid
  // lines, when data row `topRow` is shown first; it may lie outside the
  // client area.
  RECT CellRect(int column, int row, int topRow) const;
  // All cells of `row` with the grid lines between them.
  RECT RowRect(int row, int topRow) const;
  // Whether any of `row` shows: the fixed rows always, a data row when it
  // lies, at least partly, between the fixed rows and the client area's
  // bottom.
  bool RowShown(int row, int topRow) const;

 private:
  std::array<int, layout::kGridColumns> widths_;
  int leftOffset_ = 0;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
};

}  // namespace pellox::win32
