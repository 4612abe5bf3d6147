// Lets a letter typed in an open menu choose the first item whose caption
// begins with it, when that letter is no item's access letter: "Exit(X)"
// has none of its own and is chosen with E. Letters that are access letters
// are left to Qt's own handling.
#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace pellox {

class MenuLetterFilter : public QObject {
 public:
  explicit MenuLetterFilter(QMenu* menu);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsAccessLetter(QChar letter) const;
  QAction* ItemStartingWith(QChar letter) const;

  QMenu* menu_;
};

}  // namespace pellox
