// The user-interface thread's message queue, realised with Qt's event loop.
// It only moves events; what they do is left to their receivers.
#pragma once

#include <QObject>

#include "platform/message_pump.h"

namespace pellox {

class QtMessagePump : public QObject, public MessagePump {
 public:
  QtMessagePump();

  bool ProcessPendingMessages() override;
  void WaitForMessage(uint32_t timeoutMs) override;
  void PostQuit() override;

 protected:
  bool event(QEvent* event) override;

 private:
  // Quit requests delivered since the last ProcessPendingMessages reported
  // them. Qt can only wait by dispatching, so a request may also be taken
  // out inside WaitForMessage or a modal dialog; it is reported by the next
  // ProcessPendingMessages all the same.
  int quitsTaken_ = 0;
  // How deeply calls of this pump are nested (handlers that pump again).
  int depth_ = 0;
};

}  // namespace pellox
