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

int GridGeometry::ColumnAt(int x) const {
  for (int column = 0; column < layout::kGridColumns; ++column) {
    const int left = ColumnLeft(column);
    if (x >= left && x < left + ColumnWidth(column) + layout::kGridLineWidth) return column;
  }
  return -1;
}

RECT GridGeometry::CellRect(int column, int row, int topRow) const {
  const int x = ColumnLeft(column);
  const int y = RowTop(row, topRow);
  return {x, y, x + ColumnWidth(column), y + layout::kGridRowHeight};
}

RECT GridGeometry::RowRect(int row, int topRow) const {
  const int x = ColumnLeft(0);
  const int y = RowTop(row, topRow);
  return {x, y, x + TotalWidth() - layout::kGridLineWidth, y + layout::kGridRowHeight};
}

bool GridGeometry::RowShown(int row, int topRow) const {
  if (row < layout::kGridFixedRows) return true;
  const int top = RowTop(row, topRow);
  return top >= DataTop() && top < clientHeight_;
}

}  // namespace pellox::win32
