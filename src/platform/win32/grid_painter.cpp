#include "platform/win32/grid_painter.h"

#include <algorithm>

#include "platform/win32/gdi_object.h"
#include "window/layout.h"

namespace pellox::win32 {

namespace {

void FillColor(HDC dc, const RECT& rect, int sysColor) {
  FillRect(dc, &rect, GetSysColorBrush(sysColor));
}

}  // namespace

void GridPainter::Paint(HDC dc, HFONT font, bool focused) const {
  const RECT client{0, 0, geometry_.ClientWidth(), geometry_.ClientHeight()};
  FillColor(dc, client, COLOR_WINDOW);
  ScopedSelection fontSelection(dc, font);
  SetBkMode(dc, OPAQUE);

  const int top = model_.TopRow();
  const int lastRow = model_.RowCount() - 1;
  for (int row = 0; row < layout::kGridFixedRows && row <= lastRow; ++row) {
    PaintRow(dc, row, top);
  }
  // One more row than fits, for the partly visible one at the bottom.
  const int lastShown = std::min(lastRow, top + geometry_.FullyVisibleRows());
  for (int row = top; row <= lastShown; ++row) PaintRow(dc, row, top);

  if (focused) PaintFocus(dc);
}

void GridPainter::PaintRow(HDC dc, int row, int top) const {
  const int y = geometry_.RowTop(row, top);
  for (int column = 0; column < layout::kGridColumns; ++column) {
    const RECT cell = geometry_.CellRect(column, row, top);
    PaintCell(dc, cell, column, row);
    const RECT vertical{cell.right, y, cell.right + layout::kGridLineWidth,
                        y + GridGeometry::kRowPitch};
    FillColor(dc, vertical, COLOR_BTNSHADOW);
  }
  const RECT horizontal{geometry_.ColumnLeft(0), y + layout::kGridRowHeight,
                        geometry_.ColumnLeft(0) + geometry_.TotalWidth(),
                        y + GridGeometry::kRowPitch};
  FillColor(dc, horizontal, COLOR_BTNSHADOW);
}

void GridPainter::PaintCell(HDC dc, const RECT& cell, int column, int row) const {
  int back = COLOR_WINDOW;
  int text = COLOR_WINDOWTEXT;
  if (row < layout::kGridFixedRows) {
    back = COLOR_BTNFACE;
    text = COLOR_BTNTEXT;
  } else if (row >= model_.BlockTop() && row <= model_.BlockBottom()) {
    back = COLOR_HIGHLIGHT;
    text = COLOR_HIGHLIGHTTEXT;
  }
  SetBkColor(dc, GetSysColor(back));
  SetTextColor(dc, GetSysColor(text));
  const std::string_view content = model_.Cell(column, row);
  ExtTextOutA(dc, cell.left + layout::kGridTextInset, cell.top + layout::kGridTextInset,
              ETO_CLIPPED | ETO_OPAQUE, &cell, content.data(), static_cast<UINT>(content.size()),
              nullptr);
}

void GridPainter::PaintFocus(HDC dc) const {
  const int top = model_.TopRow();
  const int firstY = geometry_.DataTop();
  const int blockTop = std::max(geometry_.RowTop(model_.BlockTop(), top), firstY);
  const int blockBottom = geometry_.RowTop(model_.BlockBottom(), top) + layout::kGridRowHeight;
  if (blockBottom <= firstY || blockTop >= geometry_.ClientHeight()) return;
  const int left = geometry_.ColumnLeft(0);
  RECT focus{left, blockTop, left + geometry_.TotalWidth() - layout::kGridLineWidth, blockBottom};
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, RGB(0, 0, 0));
  DrawFocusRect(dc, &focus);
}

}  // namespace pellox::win32
