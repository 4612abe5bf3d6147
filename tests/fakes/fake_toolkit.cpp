#include "fake_toolkit.h"

#include <stdexcept>

#include "window/layout.h"

namespace pellox::testing {

FakeToolkit::FakeToolkit() {
  dialogs_[DialogId::OpenDialog1] = {};
  dialogs_[DialogId::SaveDialog1] = {};
}

std::string FakeToolkit::Text(EditField field) const {
  return edits_.at(static_cast<size_t>(field));
}
void FakeToolkit::SetText(EditField field, std::string_view text) {
  edits_.at(static_cast<size_t>(field)) = std::string(text);
}

void FakeToolkit::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
}
void FakeToolkit::AddItem(std::string_view text) { items_.emplace_back(text); }
int FakeToolkit::ItemCount() const { return static_cast<int>(items_.size()); }
int FakeToolkit::ItemIndex() const { return itemIndex_; }
void FakeToolkit::SetItemIndex(int index) {
  if (index < 0 || index >= ItemCount()) throw std::out_of_range("item index outside the list");
  itemIndex_ = index;
}

void FakeToolkit::SetPanelText(int panel, std::string_view text) {
  panels_.at(static_cast<std::size_t>(panel)) = std::string(text);
  panelLog_.push_back(std::to_string(panel) + "=" + std::string(text));
}
void FakeToolkit::SetCaption(std::string_view caption) { caption_ = std::string(caption); }
void* FakeToolkit::WindowHandle() const { return const_cast<FakeToolkit*>(this); }

void FakeToolkit::PrepareDialog(DialogId dialog, const DialogSetup& setup) {
  dialogs_.at(dialog).Prepare(setup);
}

bool FakeToolkit::ShowDialog(DialogId dialog) {
  FileDialogState& state = dialogs_.at(dialog);
  lastShown_[dialog] = state;
  std::deque<DialogAnswer>& queue = answers_[dialog];
  if (queue.empty()) throw std::logic_error("a dialog was shown that the test did not expect");
  DialogAnswer answer = queue.front();
  queue.pop_front();
  if (!answer.Name || answer.Name->size() > kMaxDialogPath) return false;
  state.Confirm(ApplyDefaultExt(*answer.Name, state.DefaultExt, "/"), answer.FilterIndex);
  return true;
}

std::string FakeToolkit::DialogFileName(DialogId dialog) const {
  return dialogs_.at(dialog).FileName;
}

void FakeToolkit::ShowErrorBox(std::string_view caption, std::string_view text) {
  errorBoxes_.push_back({std::string(caption), std::string(text)});
}

void FakeToolkit::AnswerDialog(DialogId dialog, DialogAnswer answer) {
  answers_[dialog].push_back(std::move(answer));
}

std::optional<FileDialogState> FakeToolkit::LastShown(DialogId dialog) const {
  auto it = lastShown_.find(dialog);
  if (it == lastShown_.end()) return std::nullopt;
  return it->second;
}

}  // namespace pellox::testing
