// The state and user behaviour of the run-list grid StringGrid1: its cells,
// row count, current row, highlighted block and scroll position. The front
// ends draw from it and hand it the user's keys and clicks, so both behave
// alike. System-independent code only.
#pragma once

#include <string>
#include <string_view>

#include "window/cell_store.h"

namespace pellox {

enum class GridKey { Up, Down, Left, Right, PageUp, PageDown, Home, End };

class GridModel {
 public:
  GridModel(int columns, int rowCount, int fixedRows);

  std::string_view Cell(int column, int row) const { return cells_.Cell(column, row); }
  void SetCell(int column, int row, std::string_view text) { cells_.SetCell(column, row, text); }
  int Columns() const { return cells_.Columns(); }

  int RowCount() const { return rowCount_; }
  // Rows 0 to n - 1 exist; cells are never cleared. When the current row
  // drops out, the new last row becomes current. Every actual change
  // collapses the highlighted block to the current row and scrolls it into
  // view. Returns false (and does nothing) when the count is unchanged.
  bool SetRowCount(int n);

  int CurrentRow() const { return currentRow_; }
  // The highlighted block, from BlockTop() to BlockBottom(), holding the
  // current row unless the mouse extended it.
  int BlockTop() const;
  int BlockBottom() const;
  // The first data row shown under the fixed rows.
  int TopRow() const { return topRow_; }
  // How many data rows the view shows fully; at least 1.
  void SetVisibleRows(int rows);
  int VisibleRows() const { return visibleRows_; }

  // A click on data row `row`: it becomes current and highlighted alone; with
  // `extend` (Shift+click, drag) the block reaches to it and the current row
  // stays. Clicks on fixed rows change nothing.
  void Click(int row, bool extend);
  // A navigation key; Shift extends the block from its anchor, Ctrl gives
  // the Ctrl variants (Ctrl+Up/Down scroll only, Ctrl+Left/Right nothing).
  void Key(GridKey key, bool shift, bool ctrl);
  // Mouse-wheel steps: positive moves the current row down.
  void Wheel(int steps);
  // A scroll-bar move: data row `topRow` (kept within the list) is shown
  // first; the current row and the block stay where they are.
  void ScrollTo(int topRow);

 private:
  int FirstDataRow() const { return fixedRows_; }
  int LastRow() const { return rowCount_ - 1; }
  int LastFullyVisibleRow() const;
  void MoveTo(int row, bool extend);
  void ScrollBy(int rows);
  void ScrollIntoView();
  int ClampRow(int row) const;

  CellStore cells_;
  int rowCount_;
  int fixedRows_;
  int currentRow_;
  int anchorRow_;  // where the highlighted block starts
  int blockEnd_;   // the other end of the block
  int topRow_;
  int visibleRows_ = 1;
};

}  // namespace pellox
