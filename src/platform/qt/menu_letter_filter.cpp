#include "platform/qt/menu_letter_filter.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>

#include "platform/qt/byte_text.h"
#include "window/menu_letter.h"

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
  // Every caption is ASCII, so no other letter begins one.
  if (text[0].unicode() > 0x7F) return true;
  const QList<QAction*> items = menu_->actions();
  const MenuLetterChoice choice =
      ChooseMenuItemByLetter(Captions(items), static_cast<char>(text[0].unicode()));
  switch (choice.Kind) {
    case MenuLetter::AccessLetter:
      return false;
    case MenuLetter::NoItem:
      return true;  // nothing to choose, and nothing else to do
    case MenuLetter::FirstLetter:
      break;
  }
  QAction* item = items.at(static_cast<qsizetype>(choice.Index));
  // Choosing goes through the menu's own Return handling, which closes the
  // menus the same way a click does before the item is triggered.
  menu_->setActiveAction(item);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(menu_, &enter);
  return true;
}

std::vector<std::string> MenuLetterFilter::Captions(const QList<QAction*>& items) {
  std::vector<std::string> captions;
  for (const QAction* item : items) {
    const bool choosable = !item->isSeparator() && item->isEnabled() && item->isVisible();
    captions.push_back(choosable ? ToBytes(item->text()) : std::string());
  }
  return captions;
}

}  // namespace pellox
