// The window toolkit operations on the Qt main window: each call is handed
// to the matching widget. No behaviour of its own beyond turning byte texts
// into Qt strings and back.
#pragma once

#include "platform/qt/file_dialogs.h"
#include "window/toolkit.h"

namespace pellox {

class MainWindow;

class QtToolkit : public WindowToolkit {
 public:
  explicit QtToolkit(MainWindow& window);

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

  void ShowErrorBox(std::string_view caption, std::string_view text) override;

 private:
  MainWindow& window_;
  FileDialogs dialogs_;
};

}  // namespace pellox
