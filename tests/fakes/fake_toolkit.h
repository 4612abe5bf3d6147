// An in-memory stand-in for the window's controls, with scripted file
// dialogs and a record of error boxes, for the core's tests.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "window/toolkit.h"

namespace pellox::testing {

class FakeToolkit : public WindowToolkit {
 public:
  FakeToolkit();

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

  // The user's answer to the next Show of a dialog: a typed or chosen name
  // (the default extension is applied as the real dialogs do) and the filter
  // choice, or a cancel.
  struct DialogAnswer {
    std::optional<std::string> Name;  // absent: cancelled
    int FilterIndex = 1;
  };
  void AnswerDialog(DialogId dialog, DialogAnswer answer);
  void CancelDialog(DialogId dialog) { AnswerDialog(dialog, {std::nullopt, 1}); }

  // What a dialog held when it was last shown.
  const FileDialogState& Dialog(DialogId dialog) const { return dialogs_.at(dialog); }
  std::optional<FileDialogState> LastShown(DialogId dialog) const;

  const std::vector<std::string>& Items() const { return items_; }
  const std::string& Panel(int panel) const { return panels_.at(static_cast<std::size_t>(panel)); }
  const std::string& Caption() const { return caption_; }
  // Every change of a status panel, as "<panel>=<text>", in order.
  const std::vector<std::string>& PanelLog() const { return panelLog_; }
  struct ErrorBox {
    std::string Caption;
    std::string Text;
  };
  const std::vector<ErrorBox>& ErrorBoxes() const { return errorBoxes_; }

 private:
  std::array<std::string, 3> edits_{"Edit1", "Edit2", "Edit3"};
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  std::array<std::string, 3> panels_;
  std::vector<std::string> panelLog_;
  std::string caption_ = "Pellox";
  std::map<DialogId, FileDialogState> dialogs_;
  std::map<DialogId, std::deque<DialogAnswer>> answers_;
  std::map<DialogId, FileDialogState> lastShown_;
  std::vector<ErrorBox> errorBoxes_;
};

}  // namespace pellox::testing
