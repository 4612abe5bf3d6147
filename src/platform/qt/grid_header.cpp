#include "platform/qt/grid_header.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <cstdlib>

#include "window/grid_mouse.h"
#include "window/layout.h"

namespace pellox {

namespace {

constexpr int kLine = layout::kGridLineWidth;

}  // namespace

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(false);  // a header click selects and sorts nothing
  setSectionsMovable(false);
  setHighlightSections(false);
  setStretchLastSection(false);
  // The user sizes the columns (by the drag below, never Qt's own).
  setSectionResizeMode(QHeaderView::Interactive);
  setMinimumSectionSize(kLine);
  viewport()->setMouseTracking(true);  // the split cursor over a border
  setDefaultSectionSize(layout::kGridDefaultColWidth + kLine);
  setFixedHeight(layout::kGridRowHeight + kLine);
}

int GridHeader::ColumnWidth(int column) const { return sectionSize(column) - kLine; }

void GridHeader::SetColumnWidth(int column, int width) { resizeSection(column, width + kLine); }

QColor GridHeader::LineColor() const {
  QStyleOptionViewItem option;
  option.initFrom(this);
  return QColor::fromRgba(
      static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
}

void GridHeader::paintEvent(QPaintEvent* event) {
  // Every pixel is the grid's own: no style draws a gradient or an empty
  // area of its own here.
  {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    for (int column = 0; column < count(); ++column) {
      const QRect section(sectionViewportPosition(column), 0, sectionSize(column), height());
      if (section.intersects(event->rect())) paintSection(&painter, section, column);
    }
  }
  if (dragX_) PaintDragLine(viewport(), *dragX_, 0);
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const QRect cell = rect.adjusted(0, 0, -kLine, -kLine);
  painter->save();
  painter->fillRect(cell, palette().color(QPalette::Button));
  painter->fillRect(QRect(cell.right() + 1, rect.top(), kLine, rect.height()), LineColor());
  painter->fillRect(QRect(rect.left(), cell.bottom() + 1, rect.width(), kLine), LineColor());
  painter->setClipRect(cell);
  painter->setFont(font());
  painter->setPen(palette().color(QPalette::ButtonText));
  const QString text = model() ? model()->headerData(logicalIndex, orientation()).toString() : "";
  painter->drawText(cell.adjusted(layout::kGridTextInset, layout::kGridTextInset, 0, 0),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  painter->restore();
}

std::optional<int> GridHeader::DragLineX() const { return dragX_; }

void GridHeader::PaintDragLine(QWidget* area, int x, int gridY) {
  QPolygon dots;
  for (int y = 0; y < area->height(); ++y) {
    if ((x + y + gridY) % 2 == 0) dots << QPoint(x, y);
  }
  QPainter painter(area);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.setPen(Qt::white);
  painter.drawPoints(dots);
}

int GridHeader::BorderAt(int x) const {
  for (int column = 0; column < count(); ++column) {
    const int border = sectionViewportPosition(column) + ColumnWidth(column);
    if (std::abs(x - border) <= kColumnBorderGrip) return column;
  }
  return -1;
}

void GridHeader::MoveDragLine(std::optional<int> x) {
  dragX_ = x;
  viewport()->update();
  emit DragLineMoved();
}

// The header's own mouse handling (Qt's live resizing, a double-click
// fitting a column to its contents) is left out: a press on a border starts
// the drag, any other press does nothing.
void GridHeader::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || dragX_) return;
  const int x = event->position().toPoint().x();
  dragColumn_ = BorderAt(x);
  if (dragColumn_ >= 0) MoveDragLine(x);
}

void GridHeader::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void GridHeader::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  // A move without the button means its release went elsewhere (a box
  // that took the mouse): the drag ends without a width, as on Windows
  // when the grid loses the mouse capture.
  if (dragX_) {
    const bool held = (event->buttons() & Qt::LeftButton) != 0;
    return MoveDragLine(held ? std::optional(x) : std::nullopt);
  }
  if (BorderAt(x) >= 0) {
    viewport()->setCursor(Qt::SplitHCursor);
  } else {
    viewport()->unsetCursor();
  }
}

void GridHeader::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragX_) return;
  const int width = event->position().toPoint().x() - sectionViewportPosition(dragColumn_);
  MoveDragLine(std::nullopt);
  emit BorderDropped(dragColumn_, width);
}

}  // namespace pellox
