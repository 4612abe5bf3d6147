#include "platform/win32/win32_toolkit.h"

#include <commctrl.h>

#include "platform/win32/error_box.h"
#include "window/edit_fields.h"

namespace pellox::win32 {

namespace {

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length > 0 ? length : 0));
  return text;
}

}  // namespace

HWND Win32Toolkit::Edit(EditField field) const { return window_.Control(ControlOf(field)); }

std::string Win32Toolkit::Text(EditField field) const { return WindowText(Edit(field)); }

void Win32Toolkit::SetText(EditField field, std::string_view text) {
  SetWindowTextA(Edit(field), std::string(text).c_str());
}

void Win32Toolkit::ClearItems() { SendMessageA(Combo(), CB_RESETCONTENT, 0, 0); }

void Win32Toolkit::AddItem(std::string_view text) {
  const std::string item(text);
  SendMessageA(Combo(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int Win32Toolkit::ItemCount() const {
  return static_cast<int>(SendMessageA(Combo(), CB_GETCOUNT, 0, 0));
}

int Win32Toolkit::ItemIndex() const {
  return static_cast<int>(SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
}

void Win32Toolkit::SetItemIndex(int index) {
  SendMessageA(Combo(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32Toolkit::SetPanelText(int panel, std::string_view text) {
  const std::string value(text);
  HWND bar = window_.Control(layout::ControlId::StatusBar1);
  SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(panel),
               reinterpret_cast<LPARAM>(value.c_str()));
  // A screen reader that follows the status bar hears the new text: the
  // system's object of the bar has the panels as children 1 to 3.
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, bar, OBJID_CLIENT, panel + 1);
}

void Win32Toolkit::SetCaption(std::string_view caption) {
  SetWindowTextA(window_.Window(), std::string(caption).c_str());
}

void* Win32Toolkit::WindowHandle() const { return window_.Window(); }

Win32FileDialog& Win32Toolkit::Dialog(DialogId dialog) {
  return dialog == DialogId::OpenDialog1 ? openDialog_ : saveDialog_;
}

const Win32FileDialog& Win32Toolkit::Dialog(DialogId dialog) const {
  return dialog == DialogId::OpenDialog1 ? openDialog_ : saveDialog_;
}

void Win32Toolkit::PrepareDialog(DialogId dialog, const DialogSetup& setup) {
  Dialog(dialog).State().Prepare(setup);
}

bool Win32Toolkit::ShowDialog(DialogId dialog) { return Dialog(dialog).Show(window_.Window()); }

std::string Win32Toolkit::DialogFileName(DialogId dialog) const {
  return Dialog(dialog).State().FileName;
}

void Win32Toolkit::ShowErrorBox(std::string_view caption, std::string_view text) {
  ShowStopBox(window_.Window(), caption, text);
}

}  // namespace pellox::win32
