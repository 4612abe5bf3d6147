// A run's progress on the application's taskbar button, through the shell's
// ITaskbarList3. The shell takes these calls only for a button it has made
// (it says so with the "TaskbarButtonCreated" message), so until then the
// figure is only kept; it is shown again each time the shell makes the
// button anew, as after Explorer restarted. A COM call that fails changes
// nothing: the progress is then simply not shown.
#pragma once

#include "platform/windows/win32_api.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <utility>

#include "platform/run_progress.h"

namespace pellox::win32 {

class Win32TaskbarProgress : public RunProgress {
 public:
  using TaskbarList = Microsoft::WRL::ComPtr<ITaskbarList3>;
  // Makes an initialised taskbar list; null when there is none.
  using ListFactory = std::function<TaskbarList()>;

  // The shell's own taskbar list (CLSID_TaskbarList), or null.
  static TaskbarList ShellTaskbarList();

  explicit Win32TaskbarProgress(ListFactory factory = &ShellTaskbarList)
      : factory_(std::move(factory)) {}
  ~Win32TaskbarProgress() override;
  Win32TaskbarProgress(const Win32TaskbarProgress&) = delete;
  Win32TaskbarProgress& operator=(const Win32TaskbarProgress&) = delete;

  // The shell has made the taskbar button of `window`: from now on the
  // progress goes to that button, starting with the figure shown now.
  void ButtonCreated(HWND window);

  // Normal progress `entry` of `count` on the button.
  void Show(int32_t entry, int32_t count) override;
  // No progress on the button (TBPF_NOPROGRESS).
  void Clear() override;

 private:
  void ShowFigure();

  ListFactory factory_;
  TaskbarList list_;
  HWND window_ = nullptr;
  // The figure shown; a count of 0 for none.
  int32_t entry_ = 0;
  int32_t count_ = 0;
  // The thread's COM apartment, entered for the shell's object; left again
  // at the end when entering it succeeded.
  bool comEntered_ = false;
};

}  // namespace pellox::win32
