#include "platform/qt/menu_letter_filter.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

namespace pellox {

MenuLetterFilter::MenuLetterFilter(QMenu* menu) : QObject(menu), menu_(menu) {
  menu->installEventFilter(this);
}

bool MenuLetterFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != menu_ || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
  const QString text = key->text();
  if (text.size() != 1 || !text[0].isLetterOrNumber()) return false;
  const QChar letter = text[0].toUpper();
  if (IsAccessLetter(letter)) return false;
  QAction* item = ItemStartingWith(letter);
  if (!item) return true;  // nothing to choose, and nothing else to do
  // Choosing goes through the menu's own Return handling, which closes the
  // menus the same way a click does before the item is triggered.
  menu_->setActiveAction(item);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(menu_, &enter);
  return true;
}

bool MenuLetterFilter::IsAccessLetter(QChar letter) const {
  for (QAction* item : menu_->actions()) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(item->text());
    if (!mnemonic.isEmpty() && mnemonic[0].key() == Qt::Key(letter.unicode())) return true;
  }
  return false;
}

QAction* MenuLetterFilter::ItemStartingWith(QChar letter) const {
  for (QAction* item : menu_->actions()) {
    if (item->isSeparator() || !item->isEnabled() || !item->isVisible()) continue;
    const QString caption = QString(item->text()).remove(QLatin1Char('&'));
    if (caption.startsWith(letter, Qt::CaseInsensitive)) return item;
  }
  return nullptr;
}

}  // namespace pellox
