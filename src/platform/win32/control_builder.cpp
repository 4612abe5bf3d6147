#include "platform/win32/control_builder.h"

#include <commctrl.h>

#include <array>

#include "platform/win32/control_ids.h"
#include "platform/win32/named_control.h"
#include "platform/windows/last_error.h"

namespace pellox::win32 {

namespace {

DWORD TabStop(const layout::Control& control) {
  return control.TabOrder == layout::kNoTabStop ? 0 : WS_TABSTOP;
}

HMENU IdOf(const layout::Control& control) {
  return IntegerAs<HMENU>(static_cast<INT_PTR>(ControlIdOf(control.Id)));
}

int ClosedHeight(HWND combo) {
  RECT rect;
  GetWindowRect(combo, &rect);
  return rect.bottom - rect.top;
}

}  // namespace

HWND ControlBuilder::Create(const layout::Control& control) {
  HWND created = CreateOfKind(control);
  if (control.LabelledBy) {
    NameForAssistiveTechnology(created, layout::AccessibleName(control),
                               layout::AccessibleDescription(control));
  }
  return created;
}

HWND ControlBuilder::CreateOfKind(const layout::Control& control) {
  switch (control.Kind) {
    case layout::ControlKind::Label:
      // Labels never carry an access letter, whatever their text.
      return CreateChild("STATIC", control.Caption, SS_LEFT | SS_NOPREFIX, 0, control);
    case layout::ControlKind::Edit: {
      HWND edit =
          CreateChild("EDIT", control.Caption, ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, control);
      // The fields have no length limit of their own; 0 lifts the system's
      // default of 30,000 characters to the largest a field can hold.
      SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
      return edit;
    }
    case layout::ControlKind::Button:
      return CreateChild("BUTTON", control.Caption, BS_PUSHBUTTON, 0, control);
    case layout::ControlKind::ComboBox:
      return CreateComboBox(control);
    case layout::ControlKind::StringGrid: {
      const RECT bounds{control.Left, control.Top, control.Left + control.Width,
                        control.Top + control.Height};
      HWND grid = grid_.Create(parent_, ControlIdOf(control.Id), bounds, instance_);
      if (!grid) ThrowLastWin32Error();
      SendMessageA(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
      return grid;
    }
    case layout::ControlKind::StatusBar:
      return CreateStatusBar(control);
  }
  return nullptr;
}

HWND ControlBuilder::CreateChild(const char* className, const char* text, DWORD style,
                                 DWORD exStyle, const layout::Control& control) {
  HWND child = CreateWindowExA(
      exStyle, className, text, WS_CHILD | WS_VISIBLE | TabStop(control) | style, control.Left,
      control.Top, control.Width, control.Height, parent_, IdOf(control), instance_, nullptr);
  if (!child) ThrowLastWin32Error();
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return child;
}

HWND ControlBuilder::CreateComboBox(const layout::Control& control) {
  HWND combo = CreateChild("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 0, control);
  // A drop-down list sizes its closed part from the font; the selection
  // field's height is set so that the closed box has the layout's height.
  // The frame around the field differs between systems (and Wine reports
  // the field 2 pixels higher than it was set), so correct what was set by
  // what is measured.
  int field = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int round = 0; round < 3 && ClosedHeight(combo) != control.Height; ++round) {
    field += control.Height - ClosedHeight(combo);
    if (field <= 0) break;
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
  // The height given to a combo box is that of the opened list too.
  const int item = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  const int dropped = ClosedHeight(combo) + layout::kComboDropDownCount * item + 2;
  SetWindowPos(combo, nullptr, 0, 0, control.Width, dropped, SWP_NOMOVE | SWP_NOZORDER);
  return combo;
}

HWND ControlBuilder::CreateStatusBar(const layout::Control& control) {
  // Placed by the main window rather than by itself, at the layout's
  // height; no size grip, since the window has a fixed size.
  HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "",
                             WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, control.Left,
                             control.Top, control.Width, control.Height, parent_, IdOf(control),
                             instance_, nullptr);
  if (!bar) ThrowLastWin32Error();
  const auto edges = layout::StatusPanelEdges(control.Width);
  std::array<int, layout::kStatusPanelWidths.size()> rights{};
  for (size_t i = 0; i < edges.size(); ++i) rights[i] = edges[i].Right;
  rights.back() = -1;  // the last panel stretches to the bar's right end
  SendMessageA(bar, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  return bar;
}

}  // namespace pellox::win32
