// The application's own top-level window. It holds the program's taskbar
// button under the application title from start-up until the main window
// first reaches the screen: an unattended run happens before that, and the
// user sees the program there and can close it. Then the main window, with
// its own caption, has the only button. It has no size and draws nothing.
#pragma once

#include "platform/win32/win32_api.h"

#include <string>

#include "platform/win32/base_window.h"

namespace pellox::win32 {

class ApplicationWindow : public BaseWindow<ApplicationWindow> {
 public:
  static constexpr const char* kClassName = "PelloxApplication";

  // Creates the window with the caption `title` and shows it without
  // activating it; raises EWin32Error.
  void Create(HINSTANCE instance, const std::string& title);
  // Takes the window, and with it the button, off the taskbar.
  void Hide();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace pellox::win32
