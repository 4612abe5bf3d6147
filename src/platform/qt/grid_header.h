// The fixed header row of the run-list grid: each heading in a cell of the
// button-face colour with its text left-aligned 2 pixels in from the cell's
// left and top edges, a grid line right of and under every cell, and the
// window colour beyond the last column. A column's right border dragged to
// leave it 1 pixel wide or less keeps the width it had.
#pragma once

#include <QHeaderView>
#include <vector>

namespace pellox {

class GridHeader : public QHeaderView {
 public:
  explicit GridHeader(QWidget* parent);

  // A column's width is its cells' width; the section also holds the grid
  // line right of them.
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  // The colour of the grid lines, the same as the table's.
  QColor LineColor() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The widths when the mouse button went down, for a drag that is not
  // taken.
  std::vector<int> widthsAtPress_;
};

}  // namespace pellox
