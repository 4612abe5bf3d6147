#include "platform/qt/grid_table_model.h"

#include <QString>

#include "platform/qt/byte_text.h"
#include "window/layout.h"

namespace pellox {

namespace {

// The horizontal header stands for the fixed rows, and it has one line.
static_assert(layout::kGridFixedRows == 1);

}  // namespace

GridTableModel::GridTableModel(GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), shownRows_(TableRow(grid_.RowCount())) {
  grid_.SetObserver(this);
}

GridTableModel::~GridTableModel() { grid_.SetObserver(nullptr); }

void GridTableModel::GridChanged(GridChange change, int index) {
  switch (change) {
    case GridChange::Cell:
      return NoteCellsChanged();
    case GridChange::Rows:
      return NoteRowCountChanged();
    case GridChange::Selection:
      return NoteSelectionChanged();
    case GridChange::ColumnWidth:
      emit ColumnWidthChanged(index);
      return;
    case GridChange::All:
      NoteCellsChanged();
      NoteRowCountChanged();
      for (int column = 0; column < grid_.Columns(); ++column) emit ColumnWidthChanged(column);
      return;
  }
}

void GridTableModel::NoteCellsChanged() {
  cellsChanged_ = true;
  ScheduleFlush();
}

void GridTableModel::NoteRowCountChanged() {
  rowCountChanged_ = true;
  ScheduleFlush();
}

void GridTableModel::NoteSelectionChanged() {
  selectionChanged_ = true;
  ScheduleFlush();
}

void GridTableModel::ScheduleFlush() {
  if (flushQueued_) return;
  flushQueued_ = true;
  QMetaObject::invokeMethod(this, &GridTableModel::Flush, Qt::QueuedConnection);
}

void GridTableModel::Flush() {
  flushQueued_ = false;
  if (!Pending()) return;
  selectionChanged_ = false;  // Refreshed below shows it
  if (rowCountChanged_) {
    rowCountChanged_ = false;
    AdjustShownRows();
  }
  if (cellsChanged_) {
    cellsChanged_ = false;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
  emit Refreshed();
}

// Rows are inserted or removed at the end in one step, never reset: a reset
// would also throw away the column widths of the horizontal header.
void GridTableModel::AdjustShownRows() {
  const int rows = TableRow(grid_.RowCount());
  if (rows > shownRows_) {
    beginInsertRows(QModelIndex(), shownRows_, rows - 1);
    shownRows_ = rows;
    endInsertRows();
  } else if (rows < shownRows_) {
    beginRemoveRows(QModelIndex(), rows, shownRows_ - 1);
    shownRows_ = rows;
    endRemoveRows();
  }
}

int GridTableModel::TableRow(int gridRow) { return gridRow - layout::kGridFixedRows; }
int GridTableModel::GridRow(int tableRow) { return tableRow + layout::kGridFixedRows; }

int GridTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.Columns();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return ToQString(grid_.Cell(index.column(), GridRow(index.row())));
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  return ToQString(grid_.Cell(section, 0));
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
  // Selectable for the highlight, never editable.
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace pellox
