#include "platform/qt/taskbar_presence.h"

#include <QGuiApplication>

namespace pellox {

namespace {

bool WindowsCanStartMinimised() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

void TaskbarPresence::Show(int32_t entry, int32_t count) {
  if (!mainWindowShown_ && !standIn_ && WindowsCanStartMinimised()) {
    standIn_ = std::make_unique<TaskbarStandIn>(pump_);
    standIn_->showMinimized();
  }
  launcherEntry_.ShowProgress(static_cast<double>(entry) / static_cast<double>(count));
}

void TaskbarPresence::Clear() { launcherEntry_.HideProgress(); }

void TaskbarPresence::MainWindowShown() {
  mainWindowShown_ = true;
  standIn_.reset();
}

}  // namespace pellox
