#include "platform/qt/file_dialogs.h"

#include <QFileDialog>
#include <QScreen>

#include "platform/linux/linux_process_info.h"
#include "platform/qt/byte_text.h"
#include "platform/qt/dialog_paths.h"
#include "window/layout.h"

namespace pellox {

namespace {

// Filter patterns are written the Windows way ("*.exe;*.com", "*.*"). On
// Linux many names have no dot, and "*.*" means every file: it becomes "*".
QString PatternsOf(const std::string& patterns) {
  QStringList globs = ToQString(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& glob : globs) {
    glob = glob.trimmed();
    if (glob == QLatin1String("*.*")) glob = QStringLiteral("*");
  }
  return globs.join(QLatin1Char(' '));
}

// Which choice a dialog's selected name filter is. With hidden filter
// details, Qt gives either the whole filter or only its shown description,
// depending on its version.
int ChoiceIndex(const std::string& filter, const QStringList& filters, const QString& selected) {
  const qsizetype whole = filters.indexOf(selected);
  if (whole >= 0) return static_cast<int>(whole);
  const std::vector<FilterChoice> choices = ParseFilter(filter);
  for (size_t i = 0; i < choices.size(); ++i) {
    if (ToQString(choices[i].Description).trimmed() == selected) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

DialogKind FileDialogs::KindOf(DialogId dialog) {
  switch (dialog) {
    case DialogId::OpenDialog1:
      return DialogKind::Open;
    case DialogId::SaveDialog1:
      return DialogKind::Save;
  }
  return DialogKind::Open;
}

QStringList FileDialogs::NameFilters(const std::string& filter) {
  // Qt reads the patterns from the last parentheses and, with
  // HideNameFilterDetails, shows the description without them.
  QStringList filters;
  for (const FilterChoice& choice : ParseFilter(filter)) {
    filters << ToQString(choice.Description) + QStringLiteral(" (") + PatternsOf(choice.Pattern) +
                   QLatin1Char(')');
  }
  return filters;
}

FileDialogState& FileDialogs::State(DialogId dialog) {
  return states_[static_cast<size_t>(dialog)];
}

const FileDialogState& FileDialogs::State(DialogId dialog) const {
  return states_[static_cast<size_t>(dialog)];
}

void FileDialogs::Prepare(DialogId dialog, const DialogSetup& setup) {
  State(dialog).Prepare(setup);
}

std::string FileDialogs::FileName(DialogId dialog) const { return State(dialog).FileName; }

bool FileDialogs::Show(DialogId id) {
  FileDialogState& state = State(id);
  const QStringList filters = NameFilters(state.Filter);
  // Declared first, so that its descriptors outlive the dialog.
  DialogPaths paths;
  QFileDialog dialog(owner_);
  Configure(dialog, id, filters, paths);
  Place(dialog);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  const QStringList chosen = dialog.selectedFiles();
  paths.Forget(dialog);
  if (!accepted || chosen.isEmpty()) return false;
  const std::string path =
      ApplyDefaultExt(paths.Bytes(chosen.front()), state.DefaultExt, kPosixPathSeparators);
  if (path.size() > kMaxDialogPath) return false;
  const int choice = ChoiceIndex(state.Filter, filters, dialog.selectedNameFilter());
  state.Confirm(path, choice < 0 ? state.FilterIndex : choice + 1);
  return true;
}

void FileDialogs::Configure(QFileDialog& dialog, DialogId id, const QStringList& filters,
                            DialogPaths& paths) {
  const FileDialogState& state = State(id);
  // Qt's own dialog, so that it behaves the same on every desktop.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  // Any name is accepted, also one of a file that does not exist yet.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(KindOf(id) == DialogKind::Save ? QFileDialog::AcceptSave
                                                      : QFileDialog::AcceptOpen);
  if (!state.InitialDir.empty()) dialog.setDirectory(paths.Folder(state.InitialDir));
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = state.FilterIndex - 1;
    if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters.at(index));
  }
  if (!state.FileName.empty()) dialog.selectFile(paths.File(state.FileName));
}

void FileDialogs::Place(QFileDialog& dialog) const {
  // Centred across the owner's monitor, a third of the way down.
  const QScreen* screen = owner_ ? owner_->screen() : nullptr;
  if (!screen) return;
  const QRect area = screen->geometry();
  const QSize size = dialog.sizeHint();
  dialog.resize(size);
  const layout::Point at = layout::DialogPosition(
      {area.left(), area.top(), area.width(), area.height()}, size.width(), size.height());
  dialog.move(at.X, at.Y);
}

}  // namespace pellox
