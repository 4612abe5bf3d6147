// The command ids of the main window's controls and menu items, derived from
// their places in the layout tables. They start above IDOK and IDCANCEL,
// which keyboard navigation sends for Enter and Esc.
#pragma once

#include <cstddef>
#include <optional>

#include "window/events.h"
#include "window/layout.h"

namespace pellox::win32 {

inline constexpr int kFirstControlId = 100;
inline constexpr int kFirstMenuItemId = 200;

inline int ControlIdOf(layout::ControlId control) {
  return kFirstControlId + static_cast<int>(control);
}

// The click event of the control with command id `id`, if it has one.
inline std::optional<FormEvent> ControlClickEvent(int id) {
  const int index = id - kFirstControlId;
  if (index < 0 || static_cast<size_t>(index) >= layout::kControls.size()) return std::nullopt;
  return layout::kControls[static_cast<size_t>(index)].Click;
}

inline int MenuItemIdOf(size_t index) { return kFirstMenuItemId + static_cast<int>(index); }

// The click event of the File menu item with command id `id`, if it has one.
inline std::optional<FormEvent> MenuClickEvent(int id) {
  const int index = id - kFirstMenuItemId;
  if (index < 0 || static_cast<size_t>(index) >= layout::kFileMenuItems.size()) {
    return std::nullopt;
  }
  return layout::kFileMenuItems[static_cast<size_t>(index)].Click;
}

}  // namespace pellox::win32
