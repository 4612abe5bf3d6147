// Creates the main window's child controls from the layout table, each at
// its stored pixel rectangle with the window's font (the status bar keeps
// the system's status-bar font), and names those with a label for
// assistive technology.
#pragma once

#include "platform/windows/win32_api.h"

#include "platform/win32/grid_control.h"
#include "window/layout.h"

namespace pellox::win32 {

class ControlBuilder {
 public:
  ControlBuilder(HWND parent, HINSTANCE instance, HFONT font, GridControl& grid)
      : parent_(parent), instance_(instance), font_(font), grid_(grid) {}

  // Creates `control`; raises EWin32Error when the system refuses.
  HWND Create(const layout::Control& control);

 private:
  HWND CreateOfKind(const layout::Control& control);
  HWND CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle,
                   const layout::Control& control);
  HWND CreateComboBox(const layout::Control& control);
  HWND CreateStatusBar(const layout::Control& control);

  HWND parent_;
  HINSTANCE instance_;
  HFONT font_;
  GridControl& grid_;
};

}  // namespace pellox::win32
