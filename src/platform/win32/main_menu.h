// The main window's menu bar, built from the layout's File menu table, and
// the rule for letters typed in an open menu.
#pragma once

#include "platform/windows/win32_api.h"

namespace pellox::win32 {

// The menu bar with the File menu; captions byte for byte as in the table,
// "&" marking the access letters. The caller owns the menu (a window it is
// attached to destroys it).
HMENU BuildMainMenu();

// The answer to WM_MENUCHAR for `letter` typed in `menu`: a letter that is no
// item's access letter chooses the first item whose caption begins with it
// (MNC_EXECUTE), so E chooses "Exit(X)"; any other letter is ignored.
LRESULT MenuCharResult(HMENU menu, char letter);

}  // namespace pellox::win32
