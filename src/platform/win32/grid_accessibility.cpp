#include "platform/win32/grid_accessibility.h"

#include "platform/win32/grid_control.h"

namespace pellox::win32 {

GridAccessibility::GridAccessibility(GridControl& grid) : grid_(grid), last_(SelectionNow()) {}

GridAccessibility::~GridAccessibility() { Disconnect(); }

std::optional<LRESULT> GridAccessibility::OnGetObject(WPARAM flags, LPARAM objectId) {
  // The id arrives as a 32-bit value, sign-extended or not.
  if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
  if (!grid_.Window() || disconnected_) return std::nullopt;
  if (!table_) table_.Attach(new GridTableAccessible(grid_));
  return LresultFromObject(__uuidof(IAccessible), flags, table_.Get());
}

void GridAccessibility::Disconnect() {
  disconnected_ = true;
  if (!table_) return;
  table_->Disconnect();
  // Clients in other processes hold proxies: cut them off too, so that
  // their next call fails instead of reaching a grid that is gone.
  CoDisconnectObject(table_.Get(), 0);
  table_.Reset();
}

GridAccessibility::Selection GridAccessibility::SelectionNow() const {
  const GridModel& model = grid_.Model();
  return {model.CurrentRow(), model.BlockTop(), model.BlockBottom()};
}

void GridAccessibility::Raise(DWORD event, LONG child) const {
  NotifyWinEvent(event, grid_.Window(), OBJID_CLIENT, child);
}

void GridAccessibility::GridChanged(GridChange change, int index) {
  if (!grid_.Window()) return;
  switch (change) {
    case GridChange::Cell:
      Raise(EVENT_OBJECT_NAMECHANGE, GridTableAccessible::ChildIdOfRow(index));
      return;
    case GridChange::Rows:
    case GridChange::All:
      // The rows under the current one changed: it is told again.
      Raise(EVENT_OBJECT_REORDER, CHILDID_SELF);
      return SelectionChanged(true);
    case GridChange::Selection:
      return SelectionChanged(false);
    case GridChange::ColumnWidth:
      return;
  }
}

void GridAccessibility::SelectionChanged(bool always) {
  const Selection now = SelectionNow();
  const Selection before = last_;
  last_ = now;
  if (GetFocus() == grid_.Window() && (always || now.CurrentRow != before.CurrentRow)) {
    Raise(EVENT_OBJECT_FOCUS, GridTableAccessible::ChildIdOfRow(now.CurrentRow));
  }
  if (!always && now.BlockTop == before.BlockTop && now.BlockBottom == before.BlockBottom) return;
  if (now.BlockTop == now.BlockBottom) {
    Raise(EVENT_OBJECT_SELECTION, GridTableAccessible::ChildIdOfRow(now.BlockTop));
  } else {
    Raise(EVENT_OBJECT_SELECTIONWITHIN, CHILDID_SELF);
  }
}

void GridAccessibility::FocusReceived() {
  last_ = SelectionNow();
  Raise(EVENT_OBJECT_FOCUS, GridTableAccessible::ChildIdOfRow(last_.CurrentRow));
}

}  // namespace pellox::win32
