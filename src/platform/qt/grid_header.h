// The fixed header row of the run-list grid: each heading in a cell of the
// button-face colour with its text left-aligned 2 pixels in from the cell's
// left and top edges, a grid line right of and under every cell, and the
// window colour beyond the last column. A column's right border is dragged
// as on Windows: a dotted line follows the pointer down the whole grid, and
// the width changes only on release, by the grid model's rule
// (DropColumnBorder); Qt's own live resizing never starts.
#pragma once

#include <QHeaderView>
#include <optional>

namespace pellox {

class GridHeader : public QHeaderView {
  Q_OBJECT

 public:
  explicit GridHeader(QWidget* parent);

  // A column's width is its cells' width; the section also holds the grid
  // line right of them.
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  // The colour of the grid lines, the same as the table's.
  QColor LineColor() const;
  // Where the dotted line of a border drag stands (viewport x), while one
  // lasts.
  std::optional<int> DragLineX() const;
  // Inverts every other pixel of the one-pixel column at `x` down the whole
  // of `area`, the checkerboard going on from the header into the rows
  // below it (`gridY`: the y of the area's top in the grid).
  static void PaintDragLine(QWidget* area, int x, int gridY);

 signals:
  // The dotted line moved, appeared or went: the rows below redraw theirs.
  void DragLineMoved();
  // A border was released where `column` would be `width` pixels wide.
  void BorderDropped(int column, int width);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // The column whose right border lies within kColumnBorderGrip of
  // viewport x, or -1.
  int BorderAt(int x) const;
  void MoveDragLine(std::optional<int> x);

  int dragColumn_ = -1;
  std::optional<int> dragX_;
};

}  // namespace pellox
