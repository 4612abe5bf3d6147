#include "platform/qt/taskbar_stand_in.h"

#include <QCloseEvent>
#include <QTimer>

#include "platform/qt/byte_text.h"
#include "window/layout.h"

namespace pellox {

TaskbarStandIn::TaskbarStandIn(MessagePump& pump) : pump_(pump) {
  setObjectName(QStringLiteral("TaskbarStandIn"));
  // The application's title, as the Windows taskbar button has it; the
  // icon is the application's.
  setWindowTitle(ToQString(layout::kApplicationTitle));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(1, 1);
}

void TaskbarStandIn::closeEvent(QCloseEvent* event) {
  // Like closing the main window: the window stays, the program ends when
  // control is back in the main message loop, after the run.
  event->ignore();
  pump_.PostQuit();
}

void TaskbarStandIn::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || isMinimized() || !isVisible()) return;
  // Queued: the window manager is still restoring it in this event.
  QTimer::singleShot(0, this, [this] { showMinimized(); });
}

}  // namespace pellox
