#include "platform/qt/grid_cell_delegate.h"

#include <QApplication>
#include <QPainter>

namespace pellox {

namespace {

constexpr int kTextInset = 2;

}  // namespace

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const QString text = cell.text;
  cell.text.clear();
  cell.state &= ~QStyle::State_HasFocus;
  const QWidget* widget = cell.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

  const bool highlighted = cell.state.testFlag(QStyle::State_Selected);
  painter->save();
  painter->setClipRect(cell.rect);
  painter->setFont(cell.font);
  painter->setPen(cell.palette.color(QPalette::Active,
                                     highlighted ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(cell.rect.adjusted(kTextInset, kTextInset, 0, 0),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  painter->restore();
}

}  // namespace pellox
