// Applies the menu letter rule (window/menu_letter.h) to an open Qt menu:
// letters that are access letters are left to Qt's own handling.
#pragma once

#include <QList>
#include <QObject>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace pellox {

class MenuLetterFilter : public QObject {
 public:
  explicit MenuLetterFilter(QMenu* menu);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The items' captions as the menu letter rule takes them.
  static std::vector<std::string> Captions(const QList<QAction*>& items);

  QMenu* menu_;
};

}  // namespace pellox
