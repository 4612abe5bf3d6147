// The window toolkit operations on the Win32 main window: each one is a
// message to the control concerned.
#pragma once

#include "platform/win32/main_window.h"
#include "platform/win32/win32_file_dialog.h"
#include "window/toolkit.h"

namespace pellox::win32 {

class Win32Toolkit : public WindowToolkit {
 public:
  explicit Win32Toolkit(MainWindow& window) : window_(window) {}

  std::string Text(EditField field) const override;
  void SetText(EditField field, std::string_view text) override;

  void ClearItems() override;
  void AddItem(std::string_view text) override;
  int ItemCount() const override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;

  void SetPanelText(int panel, std::string_view text) override;
  void SetCaption(std::string_view caption) override;
  void* WindowHandle() const override;

  void PrepareDialog(DialogId dialog, const DialogSetup& setup) override;
  bool ShowDialog(DialogId dialog) override;
  std::string DialogFileName(DialogId dialog) const override;

  // The stop box, owned by the main window so that it is disabled while the
  // box is shown.
  void ShowErrorBox(std::string_view caption, std::string_view text) override;

  Win32FileDialog& Dialog(DialogId dialog);
  const Win32FileDialog& Dialog(DialogId dialog) const;

 private:
  HWND Combo() const { return window_.Control(layout::ControlId::ComboBox1); }
  HWND Edit(EditField field) const;

  MainWindow& window_;
  Win32FileDialog openDialog_{DialogKind::Open};
  Win32FileDialog saveDialog_{DialogKind::Save};
};

}  // namespace pellox::win32
