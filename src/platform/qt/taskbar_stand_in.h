// Stands in for the program's taskbar button while a run goes on before
// the main window has first reached the screen (the unattended run): a
// top-level window titled "Pellox" with the program's icon, mapped
// minimised, so that the taskbars and docks of X11 list it while nothing
// shows on the screen. Its Close asks the program to end, as File/Exit
// does; restored, it goes back to minimised at once, since there is
// nothing in it to act on.
#pragma once

#include <QWidget>

#include "platform/message_pump.h"

namespace pellox {

class TaskbarStandIn : public QWidget {
 public:
  explicit TaskbarStandIn(MessagePump& pump);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  MessagePump& pump_;
};

}  // namespace pellox
