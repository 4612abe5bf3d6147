#include "window/grid_model.h"

#include <algorithm>
#include <tuple>

#include "window/layout.h"

namespace pellox {

GridModel::GridModel(BlockMemory& memory)
    : GridModel(layout::kGridColumns, layout::kGridLayoutRowCount, layout::kGridFixedRows, memory) {
}

GridModel::GridModel(int columns, int rowCount, int fixedRows, BlockMemory& memory)
    : cells_(columns, memory),
      colWidths_(static_cast<size_t>(columns), layout::kGridDefaultColWidth),
      rowCount_(rowCount),
      fixedRows_(fixedRows),
      currentRow_(fixedRows),
      anchorRow_(fixedRows),
      blockEnd_(fixedRows),
      topRow_(fixedRows) {}

GridModel::BulkChange::~BulkChange() {
  if (--grid_.bulkDepth_ > 0 || !grid_.bulkChanged_) return;
  grid_.bulkChanged_ = false;
  grid_.Notify(GridChange::All);
}

void GridModel::Notify(GridChange change, int index) {
  if (bulkDepth_ > 0) {
    bulkChanged_ = true;
    return;
  }
  if (observer_) observer_->GridChanged(change, index);
}

void GridModel::SetCell(int column, int row, std::string_view text) {
  cells_.SetCell(column, row, text);
  Notify(GridChange::Cell, row);
}

void GridModel::SetRow(int row, std::span<const std::string_view> cells) {
  cells_.SetRow(row, cells);
  Notify(GridChange::Cell, row);
}

void GridModel::SetColWidth(int column, int width) {
  int& current = colWidths_.at(static_cast<size_t>(column));
  if (current == width) return;
  current = width;
  Notify(GridChange::ColumnWidth, column);
}

bool GridModel::SetRowCount(int n) {
  if (n == rowCount_) return false;
  rowCount_ = n;
  if (currentRow_ > LastRow()) currentRow_ = LastRow();
  anchorRow_ = blockEnd_ = currentRow_;
  ScrollIntoView();
  Notify(GridChange::Rows);
  return true;
}

template <typename Change>
void GridModel::ChangingSelection(Change change) {
  const auto before = std::tuple(currentRow_, anchorRow_, blockEnd_, topRow_);
  change();
  if (std::tuple(currentRow_, anchorRow_, blockEnd_, topRow_) != before) {
    Notify(GridChange::Selection);
  }
}

int GridModel::BlockTop() const { return std::min(anchorRow_, blockEnd_); }
int GridModel::BlockBottom() const { return std::max(anchorRow_, blockEnd_); }

void GridModel::SetVisibleRows(int rows) {
  ChangingSelection([&] {
    visibleRows_ = std::max(1, rows);
    ScrollIntoView();
  });
}

void GridModel::Click(int row, bool extend) {
  if (row < FirstDataRow() || row > LastRow()) return;
  ChangingSelection([&] {
    if (extend) {
      blockEnd_ = row;
      return;
    }
    currentRow_ = anchorRow_ = blockEnd_ = row;
    ScrollIntoView();
  });
}

void GridModel::Key(GridKey key, bool shift, bool ctrl) {
  ChangingSelection([&] { MoveByKey(key, shift, ctrl); });
}

void GridModel::MoveByKey(GridKey key, bool shift, bool ctrl) {
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

void GridModel::Wheel(int steps) {
  ChangingSelection([&] { MoveTo(currentRow_ + steps, false); });
}

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

void GridModel::ScrollBy(int rows) { ClampTopRow(topRow_ + rows); }

void GridModel::ScrollTo(int topRow) {
  ChangingSelection([&] { ClampTopRow(topRow); });
}

void GridModel::ClampTopRow(int topRow) {
  const int maxTop = std::max(FirstDataRow(), LastRow() - visibleRows_ + 1);
  topRow_ = std::clamp(topRow, FirstDataRow(), maxTop);
}

void GridModel::ScrollIntoView() {
  if (currentRow_ < topRow_) topRow_ = currentRow_;
  if (currentRow_ > topRow_ + visibleRows_ - 1) topRow_ = currentRow_ - visibleRows_ + 1;
  ClampTopRow(topRow_);
}

int GridModel::ClampRow(int row) const { return std::clamp(row, FirstDataRow(), LastRow()); }

}  // namespace pellox
