// The text cells of the run-list grid. System-independent code only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellox {

// Holds the cells of a grid with a fixed number of columns, for any row ever
// written, whatever the grid's row count: a cell keeps its text until it is
// written again. Each row is packed into one string (length-prefixed cells),
// so a million rows cost one small allocation each.
class CellStore {
 public:
  explicit CellStore(int columns) : columns_(columns) {}

  // The text last stored for the cell; empty for a cell never written. The
  // view is valid until the row is written again.
  std::string_view Cell(int column, int row) const;
  void SetCell(int column, int row, std::string_view text);

  int Columns() const { return columns_; }
  // One past the highest row that holds a written cell row (or a row below).
  int StoredRows() const { return static_cast<int>(rows_.size()); }

 private:
  int columns_;
  std::vector<std::string> rows_;
};

}  // namespace pellox
