#include "window/grid_model.h"

#include <algorithm>

namespace pellox {

GridModel::GridModel(int columns, int rowCount, int fixedRows)
    : cells_(columns),
      rowCount_(rowCount),
      fixedRows_(fixedRows),
      currentRow_(fixedRows),
      anchorRow_(fixedRows),
      blockEnd_(fixedRows),
      topRow_(fixedRows) {}

bool GridModel::SetRowCount(int n) {
  if (n == rowCount_) return false;
  rowCount_ = n;
  if (currentRow_ > LastRow()) currentRow_ = LastRow();
  anchorRow_ = blockEnd_ = currentRow_;
  ScrollIntoView();
  return true;
}

int GridModel::BlockTop() const { return std::min(anchorRow_, blockEnd_); }
int GridModel::BlockBottom() const { return std::max(anchorRow_, blockEnd_); }

void GridModel::SetVisibleRows(int rows) {
  visibleRows_ = std::max(1, rows);
  ScrollIntoView();
}

void GridModel::Click(int row, bool extend) {
  if (row < FirstDataRow() || row > LastRow()) return;
  if (extend) {
    blockEnd_ = row;
    return;
  }
  currentRow_ = anchorRow_ = blockEnd_ = row;
  ScrollIntoView();
}

void GridModel::Key(GridKey key, bool shift, bool ctrl) {
  const int page = std::max(1, visibleRows_ - 1);
  switch (key) {
    case GridKey::Up:
      if (ctrl) return ScrollBy(-1);
      return MoveTo(currentRow_ - 1, shift);
    case GridKey::Down:
      if (ctrl) return ScrollBy(1);
      return MoveTo(currentRow_ + 1, shift);
    case GridKey::Left:
      if (ctrl) return;
      return MoveTo(currentRow_ - 1, shift);
    case GridKey::Right:
      if (ctrl) return;
      return MoveTo(currentRow_ + 1, shift);
    case GridKey::PageUp:
      if (ctrl) return MoveTo(topRow_, shift);
      ScrollBy(-page);
      return MoveTo(currentRow_ - page, shift);
    case GridKey::PageDown:
      if (ctrl) return MoveTo(LastFullyVisibleRow(), shift);
      ScrollBy(page);
      return MoveTo(currentRow_ + page, shift);
    case GridKey::Home:
      return MoveTo(FirstDataRow(), shift);
    case GridKey::End:
      return MoveTo(LastRow(), shift);
  }
}

void GridModel::Wheel(int steps) { MoveTo(currentRow_ + steps, false); }

int GridModel::LastFullyVisibleRow() const {
  return std::min(LastRow(), topRow_ + visibleRows_ - 1);
}

void GridModel::MoveTo(int row, bool extend) {
  currentRow_ = ClampRow(row);
  if (extend) {
    blockEnd_ = currentRow_;
  } else {
    anchorRow_ = blockEnd_ = currentRow_;
  }
  ScrollIntoView();
}

void GridModel::ScrollBy(int rows) { ScrollTo(topRow_ + rows); }

void GridModel::ScrollTo(int topRow) {
  const int maxTop = std::max(FirstDataRow(), LastRow() - visibleRows_ + 1);
  topRow_ = std::clamp(topRow, FirstDataRow(), maxTop);
}

void GridModel::ScrollIntoView() {
  if (currentRow_ < topRow_) topRow_ = currentRow_;
  if (currentRow_ > topRow_ + visibleRows_ - 1) topRow_ = currentRow_ - visibleRows_ + 1;
  ScrollBy(0);
}

int GridModel::ClampRow(int row) const { return std::clamp(row, FirstDataRow(), LastRow()); }

}  // namespace pellox
