// The Qt item model of the run-list grid: it observes the form's GridModel
// and presents it to a QTableView. The fixed row 0 is given as the
// horizontal header; table row r is grid row r + 1. The grid's notices are
// only noted when they come and reach the view once, the next time events
// are processed, so that many changes in a row stay cheap.
#pragma once

#include <QAbstractTableModel>

#include "window/grid_model.h"

namespace pellox {

class GridTableModel : public QAbstractTableModel, private GridObserver {
  Q_OBJECT

 public:
  // Observes `grid` until destroyed; the grid must outlive it.
  explicit GridTableModel(GridModel& grid, QObject* parent = nullptr);
  ~GridTableModel() override;

  GridModel& Grid() { return grid_; }
  const GridModel& Grid() const { return grid_; }

  // Cell texts changed; the view repaints them later.
  void NoteCellsChanged();
  // The row count changed; the view rebuilds its rows later.
  void NoteRowCountChanged();
  // The current row, block or scroll position changed; the view shows them
  // later.
  void NoteSelectionChanged();
  // Hands the noted changes to the view now and emits Refreshed; does
  // nothing when none are pending.
  void Flush();
  bool Pending() const { return cellsChanged_ || rowCountChanged_ || selectionChanged_; }

  // Table rows are grid rows below the fixed header row.
  static int TableRow(int gridRow);
  static int GridRow(int tableRow);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // The view may now show the grid's current row, block and scroll position.
  void Refreshed();
  // A column's width changed in the grid; told at once.
  void ColumnWidthChanged(int column);

 private:
  void GridChanged(GridChange change, int index) override;
  void ScheduleFlush();
  void AdjustShownRows();

  GridModel& grid_;
  // The table rows the view was told of; Qt's item views require rowCount to
  // change only together with the matching notification.
  int shownRows_;
  bool cellsChanged_ = false;
  bool rowCountChanged_ = false;
  bool selectionChanged_ = false;
  bool flushQueued_ = false;
};

}  // namespace pellox
