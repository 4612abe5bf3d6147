// Draws one cell of the run-list grid: its background in the window or the
// highlight colour, and its text left-aligned 2 pixels in from the cell's left
// and top edges, clipped to the cell. The focus mark is the grid's own
// (around the whole highlighted block), so no cell draws one.
#pragma once

#include <QStyledItemDelegate>

namespace pellox {

class GridCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace pellox
