// The run-list grid's side towards assistive technology: it answers
// WM_GETOBJECT for the grid's client area with the grid's own accessible
// table (GridTableAccessible), and tells listening screen readers of every
// change with WinEvents: the focus moving to the current row, the
// selection (the highlighted block), rows added or removed, a row's text
// changed. It cuts the table off from the grid when the window goes.
#pragma once

#include "platform/windows/win32_api.h"

#include <wrl/client.h>

#include <optional>

#include "platform/win32/grid_table_accessible.h"
#include "window/grid_model.h"

namespace pellox::win32 {

class GridControl;

class GridAccessibility {
 public:
  explicit GridAccessibility(GridControl& grid);
  ~GridAccessibility();
  GridAccessibility(const GridAccessibility&) = delete;
  GridAccessibility& operator=(const GridAccessibility&) = delete;

  // The answer to WM_GETOBJECT: the table for the client area, nothing for
  // any other object (the system's own answer stands for those).
  std::optional<LRESULT> OnGetObject(WPARAM flags, LPARAM objectId);
  // After the grid's model changed (the view already shows it).
  void GridChanged(GridChange change, int index);
  // After the grid window received the keyboard focus.
  void FocusReceived();
  // From now on the table answers no client, and no new one is handed
  // out; when the window goes.
  void Disconnect();

 private:
  struct Selection {
    int CurrentRow, BlockTop, BlockBottom;
    bool operator==(const Selection&) const = default;
  };
  Selection SelectionNow() const;
  void Raise(DWORD event, LONG child) const;
  // Focus and selection events for where they are now; `always` also when
  // they did not move (the rows under them changed).
  void SelectionChanged(bool always);

  GridControl& grid_;
  Microsoft::WRL::ComPtr<GridTableAccessible> table_;
  bool disconnected_ = false;
  Selection last_;
};

}  // namespace pellox::win32
