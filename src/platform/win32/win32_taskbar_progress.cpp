#include "platform/win32/win32_taskbar_progress.h"

#include <objbase.h>

namespace pellox::win32 {

Win32TaskbarProgress::TaskbarList Win32TaskbarProgress::ShellTaskbarList() {
  TaskbarList list;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&list))) ||
      FAILED(list->HrInit())) {
    return nullptr;
  }
  return list;
}

Win32TaskbarProgress::~Win32TaskbarProgress() {
  list_.Reset();  // released inside the apartment
  if (comEntered_) CoUninitialize();
}

void Win32TaskbarProgress::ButtonCreated(HWND window) {
  if (!comEntered_) {
    // S_FALSE (already entered on this thread) is counted and left as well;
    // another thread model set before leaves COM usable but not ours to leave.
    comEntered_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  window_ = window;
  // A new button may belong to a new shell: the old list is not reused.
  list_ = factory_();
  if (count_ > 0) ShowFigure();
}

void Win32TaskbarProgress::Show(int32_t entry, int32_t count) {
  entry_ = entry;
  count_ = count;
  ShowFigure();
}

void Win32TaskbarProgress::Clear() {
  entry_ = 0;
  count_ = 0;
  if (list_) list_->SetProgressState(window_, TBPF_NOPROGRESS);
}

void Win32TaskbarProgress::ShowFigure() {
  if (!list_) return;
  list_->SetProgressState(window_, TBPF_NORMAL);
  list_->SetProgressValue(window_, static_cast<ULONGLONG>(entry_), static_cast<ULONGLONG>(count_));
}

}  // namespace pellox::win32
