// OpenDialog1 and SaveDialog1: Qt file dialogs shown from the core's
// FileDialogState, which keeps each dialog's properties, its last file name
// and its filter choice from one use to the next.
#pragma once

#include <QStringList>
#include <array>
#include <string>

#include "window/file_dialog.h"

class QFileDialog;
class QWidget;

namespace pellox {

class DialogPaths;

// Paths cross into the dialogs and back through DialogPaths: byte for byte,
// also in a folder whose name is not UTF-8.
class FileDialogs {
 public:
  explicit FileDialogs(QWidget* owner) : owner_(owner) {}

  void Prepare(DialogId dialog, const DialogSetup& setup);
  // Modal to the owner; true when a file name was confirmed.
  bool Show(DialogId dialog);
  std::string FileName(DialogId dialog) const;

  static DialogKind KindOf(DialogId dialog);
  // Qt name filters for the choices of a filter text, in the same order.
  static QStringList NameFilters(const std::string& filter);

 private:
  FileDialogState& State(DialogId dialog);
  const FileDialogState& State(DialogId dialog) const;
  void Configure(QFileDialog& dialog, DialogId id, const QStringList& filters, DialogPaths& paths);
  void Place(QFileDialog& dialog) const;

  QWidget* owner_;
  std::array<FileDialogState, 2> states_;
};

}  // namespace pellox
