// The state and user behaviour of the run-list grid StringGrid1: its cells,
// row count, column widths, current row, highlighted block and scroll
// position. TForm1 owns it as a form owns its controls; the front ends
// observe it and draw it, and hand it the user's keys and clicks, so both
// behave alike. System-independent code only.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "window/cell_store.h"

namespace pellox {

enum class GridKey { Up, Down, Left, Right, PageUp, PageDown, Home, End };

// What changed in a grid.
enum class GridChange {
  Cell,         // one cell's text (the row is given)
  Rows,         // the row count, and with it the current row, block and scroll
  Selection,    // the current row, the block or the scroll position
  ColumnWidth,  // one column's width (the column is given)
  All,          // anything: a bulk change, read everything again
};

// The view of a grid: told of every change right after it happened.
class GridObserver {
 public:
  // `index` is the row of a Cell change, the column of a ColumnWidth change.
  virtual void GridChanged(GridChange change, int index) = 0;

 protected:
  ~GridObserver() = default;
};

class GridModel {
 public:
  // The run list's grid as the layout gives it: its columns with the
  // default width, the fixed heading row and one data row.
  // The cells' blocks come from `memory`, which must outlive the grid.
  explicit GridModel(BlockMemory& memory = HeapBlocks());
  GridModel(int columns, int rowCount, int fixedRows, BlockMemory& memory = HeapBlocks());
  GridModel(const GridModel&) = delete;
  GridModel& operator=(const GridModel&) = delete;

  // At most one observer; nullptr for none.
  void SetObserver(GridObserver* observer) { observer_ = observer; }

  // While a BulkChange lives, the observer hears nothing; at its end one All
  // notice stands for everything that changed (none when nothing did), so a
  // million-row load costs no per-cell notice.
  class BulkChange {
   public:
    explicit BulkChange(GridModel& grid) : grid_(grid) { ++grid_.bulkDepth_; }
    ~BulkChange();
    BulkChange(const BulkChange&) = delete;
    BulkChange& operator=(const BulkChange&) = delete;

   private:
    GridModel& grid_;
  };

  // The view is valid until the grid's cells are written again.
  std::string_view Cell(int column, int row) const { return cells_.Cell(column, row); }
  void SetCell(int column, int row, std::string_view text);
  // Writes cells[c] into column c of `row` for every cell given, as one
  // change; the columns past them keep their text.
  void SetRow(int row, std::span<const std::string_view> cells);
  // Makes room for the cells of rows below `rows`, for a caller that knows
  // how many rows it will write.
  void ReserveRows(int rows) { cells_.ReserveRows(rows); }
  int Columns() const { return cells_.Columns(); }

  // Column widths in pixels, without the grid line right of the column.
  int ColWidth(int column) const { return colWidths_.at(static_cast<size_t>(column)); }
  void SetColWidth(int column, int width);

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
  void MoveByKey(GridKey key, bool shift, bool ctrl);
  void MoveTo(int row, bool extend);
  void ScrollBy(int rows);
  void ClampTopRow(int topRow);
  void ScrollIntoView();
  int ClampRow(int row) const;
  // Runs `change` and tells the observer when the current row, the block or
  // the scroll position moved.
  template <typename Change>
  void ChangingSelection(Change change);
  void Notify(GridChange change, int index = 0);

  CellStore cells_;
  std::vector<int> colWidths_;
  int rowCount_;
  int fixedRows_;
  int currentRow_;
  int anchorRow_;  // where the highlighted block starts
  int blockEnd_;   // the other end of the block
  int topRow_;
  int visibleRows_ = 1;
  GridObserver* observer_ = nullptr;
  int bulkDepth_ = 0;
  bool bulkChanged_ = false;
};

}  // namespace pellox
