#include "platform/qt/grid_cell_delegate.h"

#include <QPainter>

#include "window/layout.h"

namespace pellox {

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const bool highlighted = cell.state.testFlag(QStyle::State_Selected);
  // The same colours with or without the focus; the style's item panel
  // would add its own shading.
  const QPalette& colours = cell.palette;
  painter->save();
  painter->fillRect(cell.rect, colours.color(QPalette::Active,
                                             highlighted ? QPalette::Highlight : QPalette::Base));
  painter->setClipRect(cell.rect);
  painter->setFont(cell.font);
  painter->setPen(
      colours.color(QPalette::Active, highlighted ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(cell.rect.adjusted(layout::kGridTextInset, layout::kGridTextInset, 0, 0),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, cell.text);
  painter->restore();
}

}  // namespace pellox
