#include "platform/qt/qt_message_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <climits>

namespace pellox {

namespace {

const QEvent::Type kQuitEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// A repeating zero-interval timer would keep "something pending" for ever;
// after this many rounds the queue counts as empty for this call.
constexpr int kMaxRounds = 1000;

QAbstractEventDispatcher* Dispatcher() { return QThread::currentThread()->eventDispatcher(); }

}  // namespace

QtMessagePump::QtMessagePump() = default;

bool QtMessagePump::ProcessPendingMessages() {
  ++depth_;
  for (int round = 0; round < kMaxRounds; ++round) {
    QCoreApplication::sendPostedEvents();
    if (!Dispatcher()->processEvents(QEventLoop::AllEvents)) break;
  }
  // Without QCoreApplication::exec nothing else deletes what Qt handed to
  // deleteLater; only the outermost call does it, so no handler still
  // running further up loses an object under its feet.
  if (depth_ == 1) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  --depth_;
  const bool quit = quitsTaken_ > 0;
  quitsTaken_ = 0;
  return quit;
}

void QtMessagePump::WaitForMessage(uint32_t timeoutMs) {
  if (timeoutMs == 0) return;
  // The timer only wakes the blocked dispatcher; a longer wait than Qt's
  // timers take simply ends early, which callers allow.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);  // a coarse timer may wake a long wait 5 % late
  if (timeoutMs != kInfinite) {
    wake.start(static_cast<int>(std::min<uint32_t>(timeoutMs, INT_MAX)));
  }
  ++depth_;
  Dispatcher()->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  --depth_;
}

void QtMessagePump::PostQuit() { QCoreApplication::postEvent(this, new QEvent(kQuitEvent)); }

bool QtMessagePump::event(QEvent* event) {
  if (event->type() != kQuitEvent) return QObject::event(event);
  ++quitsTaken_;
  return true;
}

}  // namespace pellox
