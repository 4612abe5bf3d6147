#include "platform/win32/grid_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace pellox::win32 {

GridGeometry::GridGeometry() { widths_.fill(layout::kGridDefaultColWidth); }

void GridGeometry::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  SetLeftOffset(leftOffset_);
}

int GridGeometry::TotalWidth() const {
  int total = 0;
  for (int width : widths_) total += width + layout::kGridLineWidth;
  return total;
}

int GridGeometry::ColumnLeft(int column) const {
  int left = -leftOffset_;
  for (int c = 0; c < column; ++c) left += ColumnWidth(c) + layout::kGridLineWidth;
  return left;
}

void GridGeometry::SetLeftOffset(int offset) {
  leftOffset_ = std::clamp(offset, 0, std::max(0, TotalWidth() - clientWidth_));
}

int GridGeometry::FullyVisibleRows() const {
  const int fixedHeight = layout::kGridFixedRows * kRowPitch;
  return std::max(1, (clientHeight_ - fixedHeight) / kRowPitch);
}

int GridGeometry::RowTop(int row, int topRow) const {
  if (row < layout::kGridFixedRows) return row * kRowPitch;
  return (layout::kGridFixedRows + row - topRow) * kRowPitch;
}

int GridGeometry::RowAt(int y, int topRow) const {
  const int line = y / kRowPitch;
  if (line < layout::kGridFixedRows) return line;
  return topRow + line - layout::kGridFixedRows;
}

int GridGeometry::BorderAt(int x) const {
  for (int column = 0; column < layout::kGridColumns; ++column) {
    const int border = ColumnLeft(column) + ColumnWidth(column);
    if (std::abs(x - border) <= kBorderGrip) return column;
  }
  return -1;
}

}  // namespace pellox::win32
