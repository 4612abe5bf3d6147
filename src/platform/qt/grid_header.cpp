#include "platform/qt/grid_header.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <algorithm>

#include "window/layout.h"

namespace pellox {

namespace {

constexpr int kLine = layout::kGridLineWidth;
// A drag that leaves a column this narrow or narrower is not taken.
constexpr int kNarrowestDraggedWidth = 1;

}  // namespace

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(false);  // a header click selects and sorts nothing
  setSectionsMovable(false);
  setHighlightSections(false);
  setStretchLastSection(false);
  setSectionResizeMode(QHeaderView::Interactive);
  // Narrow enough that a drag can reach the widths that are not taken.
  setMinimumSectionSize(kLine);
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
  QPainter painter(viewport());
  painter.fillRect(event->rect(), palette().color(QPalette::Base));
  for (int column = 0; column < count(); ++column) {
    const QRect section(sectionViewportPosition(column), 0, sectionSize(column), height());
    if (section.intersects(event->rect())) paintSection(&painter, section, column);
  }
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

void GridHeader::mousePressEvent(QMouseEvent* event) {
  widthsAtPress_.clear();
  for (int column = 0; column < count(); ++column) widthsAtPress_.push_back(sectionSize(column));
  QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseReleaseEvent(QMouseEvent* event) {
  QHeaderView::mouseReleaseEvent(event);
  const int columns = std::min(count(), static_cast<int>(widthsAtPress_.size()));
  for (int column = 0; column < columns; ++column) {
    const int before = widthsAtPress_[static_cast<size_t>(column)];
    if (sectionSize(column) != before && ColumnWidth(column) <= kNarrowestDraggedWidth) {
      resizeSection(column, before);
    }
  }
  widthsAtPress_.clear();
}

}  // namespace pellox
