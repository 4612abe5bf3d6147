// Names a system control (a field, the printer list) for assistive
// technology by its label, exactly: the system's own accessible object
// would take the label's text with its colon, or for a drop-down list the
// chosen item. The control answers WM_GETOBJECT for its client area with
// the system's object wrapped so that the name (and a description) are
// ours; everything else (role, value, state, children, location) stays
// the system's.
#pragma once

#include "platform/windows/win32_api.h"

#include <string_view>

namespace pellox::win32 {

// From now on, until it is destroyed, `control` is named `name` and
// described by `description` (none when empty). Call once per control.
void NameForAssistiveTechnology(HWND control, std::string_view name, std::string_view description);

}  // namespace pellox::win32
