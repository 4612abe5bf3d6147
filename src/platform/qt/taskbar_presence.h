// The program on the desktop's taskbar or dock during a run: the run's
// progress on the launcher entry, and, for a run that goes on before the
// main window has first reached the screen (the unattended run), the
// minimised stand-in window that the taskbar lists in the main window's
// place, until the main window shows. Wayland lets no window start
// minimised (it would be seen first), so there the launcher entry alone
// shows the run.
#pragma once

#include <memory>

#include "platform/message_pump.h"
#include "platform/qt/launcher_entry.h"
#include "platform/qt/taskbar_stand_in.h"
#include "platform/run_progress.h"

namespace pellox {

class TaskbarPresence : public RunProgress {
 public:
  explicit TaskbarPresence(MessagePump& pump) : pump_(pump) {}

  void Show(int32_t entry, int32_t count) override;
  void Clear() override;

  // The main window has reached the screen: the stand-in goes, for good.
  void MainWindowShown();
  // The stand-in while there is one.
  QWidget* StandIn() const { return standIn_.get(); }

 private:
  MessagePump& pump_;
  LauncherEntry launcherEntry_;
  std::unique_ptr<TaskbarStandIn> standIn_;
  bool mainWindowShown_ = false;
};

}  // namespace pellox
