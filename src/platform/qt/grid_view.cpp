#include "platform/qt/grid_view.h"

#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <optional>

#include "platform/qt/grid_cell_delegate.h"
#include "platform/qt/grid_header.h"
#include "window/layout.h"

namespace pellox {

namespace {

constexpr int kRowPitch = layout::kGridRowHeight + layout::kGridLineWidth;

std::optional<GridKey> ToGridKey(int key) {
  switch (key) {
    case Qt::Key_Up:
      return GridKey::Up;
    case Qt::Key_Down:
      return GridKey::Down;
    case Qt::Key_Left:
      return GridKey::Left;
    case Qt::Key_Right:
      return GridKey::Right;
    case Qt::Key_PageUp:
      return GridKey::PageUp;
    case Qt::Key_PageDown:
      return GridKey::PageDown;
    case Qt::Key_Home:
      return GridKey::Home;
    case Qt::Key_End:
      return GridKey::End;
    default:
      return std::nullopt;
  }
}

}  // namespace

GridView::GridView(GridTableModel* model, QWidget* parent) : QTableView(parent), model_(model) {
  setModel(model_);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setTabKeyNavigation(false);  // Tab leaves the grid
  setSortingEnabled(false);
  setAutoScroll(false);  // the grid model decides what is in view
  setShowGrid(true);
  setWordWrap(false);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setFocusPolicy(Qt::StrongFocus);
  setItemDelegate(new GridCellDelegate(this));
  ConfigureHeaders();
  ConfigurePalette();

  dragScroll_.setInterval(kDragScrollIntervalMs);
  connect(&dragScroll_, &QTimer::timeout, this, &GridView::DragScroll);
  connect(model_, &GridTableModel::Refreshed, this, &GridView::SyncFromGrid);
  connect(model_, &GridTableModel::ColumnWidthChanged, this, &GridView::TakeColumnWidth);
  // Only the user's own scroll-bar actions raise actionTriggered; the
  // view's programmatic scrolling does not come back to the grid model.
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int) { TakeScrollBarMove(); });
  SyncFromGrid();
}

// Qt draws a table's grid line inside its sections, so every section is
// one line larger than the cell it holds.
void GridView::ConfigureHeaders() {
  header_ = new GridHeader(this);
  setHorizontalHeader(header_);
  for (int column = 0; column < model_->columnCount(); ++column) TakeColumnWidth(column);
  // A border the user drags gives the grid its column's new width on
  // release; meanwhile the rows show the dotted line too.
  connect(header_, &GridHeader::BorderDropped, this,
          [this](int column, int width) { DropColumnBorder(model_->Grid(), column, width); });
  connect(header_, &GridHeader::DragLineMoved, viewport(), [this] { viewport()->update(); });

  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(kRowPitch);
}

int GridView::ColumnWidth(int column) const { return header_->ColumnWidth(column); }

void GridView::TakeColumnWidth(int column) {
  header_->SetColumnWidth(column, model_->Grid().ColWidth(column));
}

void GridView::ConfigurePalette() {
  // The highlighted rows keep their colours when the grid loses the focus.
  QPalette colours = palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);
}

void GridView::SyncFromGrid() {
  if (model_->Pending()) return model_->Flush();  // Flush comes back here
  const GridModel& grid = model_->Grid();
  const int lastColumn = model_->columnCount() - 1;
  const QItemSelection block(
      model_->index(GridTableModel::TableRow(grid.BlockTop()), 0),
      model_->index(GridTableModel::TableRow(grid.BlockBottom()), lastColumn));
  selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
  selectionModel()->setCurrentIndex(model_->index(GridTableModel::TableRow(grid.CurrentRow()), 0),
                                    QItemSelectionModel::NoUpdate);
  // The scroll bar's range must already count the rows just added.
  executeDelayedItemsLayout();
  verticalScrollBar()->setValue(GridTableModel::TableRow(grid.TopRow()));
  viewport()->update();
}

void GridView::TakeVisibleRows() {
  model_->Grid().SetVisibleRows(viewport()->height() / kRowPitch);
  SyncFromGrid();
}

void GridView::TakeScrollBarMove() {
  model_->Grid().ScrollTo(GridTableModel::GridRow(verticalScrollBar()->sliderPosition()));
}

void GridView::keyPressEvent(QKeyEvent* event) {
  // Everything else (typing, Enter, F2, Ctrl+A) is left unhandled, so no
  // editor opens and no search moves the current row.
  const std::optional<GridKey> key = ToGridKey(event->key());
  if (!key) return event->ignore();
  model_->Flush();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  model_->Grid().Key(*key, modifiers.testFlag(Qt::ShiftModifier),
                     modifiers.testFlag(Qt::ControlModifier));
  SyncFromGrid();
  event->accept();
}

int GridView::GridRowAt(int y) const {
  const int tableRow = rowAt(y);
  return tableRow < 0 ? -1 : GridTableModel::GridRow(tableRow);
}

void GridView::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  model_->Flush();
  const int row = GridRowAt(event->position().toPoint().y());
  if (row < 0) return;
  model_->Grid().Click(row, event->modifiers().testFlag(Qt::ShiftModifier));
  SyncFromGrid();
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!event->buttons().testFlag(Qt::LeftButton)) return;
  dragY_ = event->position().toPoint().y();
  if (dragY_ < 0 || dragY_ >= viewport()->height()) {
    if (!dragScroll_.isActive()) dragScroll_.start();
    return;
  }
  dragScroll_.stop();
  const int row = GridRowAt(dragY_);
  if (row < 0) return;
  model_->Grid().Click(row, true);
  SyncFromGrid();
}

void GridView::DragScroll() {
  DragScrollStep(model_->Grid(), dragY_ < 0);
  SyncFromGrid();
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  dragScroll_.stop();
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click is a second click and nothing more: no editor opens.
  mousePressEvent(event);
}

void GridView::wheelEvent(QWheelEvent* event) {
  event->accept();
  const int steps = wheelSteps_.Take(event->angleDelta().y());
  if (steps == 0) return;
  model_->Flush();
  model_->Grid().Wheel(steps);
  SyncFromGrid();
}

void GridView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  // Qt tells of the current cell only when it moves; a screen reader also
  // hears it when the focus arrives, after Qt has told of the table.
  QMetaObject::invokeMethod(this, &GridView::TellCurrentCell, Qt::QueuedConnection);
}

void GridView::TellCurrentCell() {
  if (!hasFocus() || !QAccessible::isActive() || !currentIndex().isValid()) return;
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
  if (!table || !table->tableInterface()) return;
  QAccessibleInterface* cell =
      table->tableInterface()->cellAt(currentIndex().row(), currentIndex().column());
  if (!cell) return;
  QAccessibleEvent focus(this, QAccessible::Focus);
  focus.setChild(table->indexOfChild(cell));
  QAccessible::updateAccessibility(&focus);
}

void GridView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  PaintFocusFrame();
  if (const std::optional<int> x = header_->DragLineX()) {
    GridHeader::PaintDragLine(viewport(), *x, header_->height());
  }
}

void GridView::PaintFocusFrame() {
  // While the grid has the focus, however it got it, a dotted rectangle
  // surrounds the block: every other pixel of its edge inverted.
  if (!hasFocus() || model_->rowCount() == 0) return;
  const QRect frame = FocusFrame();
  if (frame.isEmpty()) return;
  QPolygon dots;
  const auto dot = [&dots](int x, int y) {
    if ((x + y) % 2 == 0) dots << QPoint(x, y);
  };
  for (int x = frame.left(); x <= frame.right(); ++x) {
    dot(x, frame.top());
    dot(x, frame.bottom());
  }
  for (int y = frame.top() + 1; y < frame.bottom(); ++y) {
    dot(frame.left(), y);
    dot(frame.right(), y);
  }
  QPainter painter(viewport());
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.setPen(Qt::white);
  painter.drawPoints(dots);
}

QRect GridView::FocusFrame() const {
  // The block's cells without the grid lines right of and under it, cut at
  // the top of the rows' area.
  const GridModel& grid = model_->Grid();
  const int top = std::max(0, rowViewportPosition(GridTableModel::TableRow(grid.BlockTop())));
  const int bottom =
      rowViewportPosition(GridTableModel::TableRow(grid.BlockBottom())) + layout::kGridRowHeight;
  const int left = columnViewportPosition(0);
  int width = 0;
  for (int column = 0; column < model_->columnCount(); ++column) width += columnWidth(column);
  return QRect(left, top, width - layout::kGridLineWidth, bottom - top);
}

bool GridView::viewportEvent(QEvent* event) {
  const bool handled = QTableView::viewportEvent(event);
  if (event->type() == QEvent::Resize) TakeVisibleRows();
  return handled;
}

}  // namespace pellox
