#include "platform/win32/win32_file_dialog.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "platform/windows/win32_process_info.h"
#include "window/layout.h"

namespace pellox::win32 {

namespace {

// "desc|pattern|..." as the dialog wants it: NUL-separated, ending in two.
std::string FilterList(const std::string& filter) {
  std::string list;
  for (const FilterChoice& choice : ParseFilter(filter)) {
    list += choice.Description + '\0' + choice.Pattern + '\0';
  }
  return list.empty() ? list : list + '\0';
}

// "C:\lists\" -> "C:\lists", but "C:\" stays.
std::string InitialFolder(std::string dir) {
  if (dir.size() > 1 && dir.back() == '\\' && dir[dir.size() - 2] != ':') dir.pop_back();
  return dir;
}

void CentreOnOwnerMonitor(HWND dialog, HWND owner) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  RECT rect;
  GetWindowRect(dialog, &rect);
  const RECT& m = monitor.rcMonitor;
  const layout::Point at =
      layout::DialogPosition({m.left, m.top, m.right - m.left, m.bottom - m.top},
                             rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(dialog, nullptr, at.X, at.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT_PTR CALLBACK DialogHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return 0;
  const auto* notify = IntegerAs<const OFNOTIFYA*>(lParam);
  if (notify->hdr.code != CDN_INITDONE) return 0;
  // The hook's window is a child of the dialog proper.
  CentreOnOwnerMonitor(GetParent(child), IntegerAs<HWND>(notify->lpOFN->lCustData));
  return 0;
}

}  // namespace

bool Win32FileDialog::Show(HWND owner) {
  char file[MAX_PATH] = {};
  if (state_.FileName.size() < sizeof file) {
    std::memcpy(file, state_.FileName.c_str(), state_.FileName.size());
  }
  const std::string filter = FilterList(state_.Filter);
  const std::string folder = InitialFolder(state_.InitialDir);

  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(state_.FilterIndex);
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
  ofn.lpfnHook = &DialogHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(owner);
  // The default extension is the core's rule, applied below, so both front
  // ends treat a typed name alike.
  const BOOL confirmed =
      kind_ == DialogKind::Open ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
  if (!confirmed) return false;
  const std::string path = ApplyDefaultExt(file, state_.DefaultExt, kPathSeparators);
  if (path.size() > kMaxDialogPath) return false;
  state_.Confirm(path, static_cast<int>(ofn.nFilterIndex));
  return true;
}

}  // namespace pellox::win32
