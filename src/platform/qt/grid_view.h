// The run-list grid StringGrid1 on screen: a QTableView over a
// GridTableModel. It draws the form's GridModel (cells, rows, column widths,
// current row and block) as its notices come, and hands the user's keys,
// clicks, wheel steps and column-border drags to it; Qt's own item-view
// navigation, selection and editing are switched off, so both front ends
// behave alike. To assistive technology it is Qt's table, named by the
// main window, whose focus is the current row's first cell.
#pragma once

#include <QTableView>
#include <QTimer>

#include "platform/qt/grid_table_model.h"
#include "window/grid_mouse.h"

namespace pellox {

class GridHeader;

class GridView : public QTableView {
  Q_OBJECT

 public:
  GridView(GridTableModel* model, QWidget* parent);

  GridTableModel* Model() const { return model_; }
  // Column widths in pixels without the grid line right of the column.
  int ColumnWidth(int column) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void ConfigureHeaders();
  // Tells assistive technology that the current cell has the focus.
  void TellCurrentCell();
  // Shows the grid model's width of `column`.
  void TakeColumnWidth(int column);
  QRect FocusFrame() const;
  void PaintFocusFrame();
  void ConfigurePalette();
  // Shows the grid model's block, current row and top row.
  void SyncFromGrid();
  void TakeVisibleRows();
  void TakeScrollBarMove();
  void DragScroll();
  // The grid row under a viewport point, or -1 outside the rows.
  int GridRowAt(int y) const;

  GridTableModel* model_;
  GridHeader* header_ = nullptr;
  QTimer dragScroll_;
  int dragY_ = 0;
  WheelSteps wheelSteps_;
};

}  // namespace pellox
