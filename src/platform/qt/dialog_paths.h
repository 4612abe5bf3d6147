// The paths a Qt file dialog is given and gives back, byte for byte.
//
// Qt names files in UTF-8 only: it cannot open a folder whose path is not
// UTF-8, and it lists no file or folder whose name is not (it skips them).
// Such a folder is handed to the dialog as /proc/self/fd/N, a descriptor
// opened on it from its bytes: the dialog shows that name for it, lists
// its files, and every path it gives back below it is turned back into the
// folder's own bytes. A file name that is not UTF-8 can be offered (as the
// code points of byte_text.h) and comes back unchanged when it is confirmed
// as offered; it cannot be listed or picked from the list. Any other path
// is UTF-8 and is what Qt used on disk.
#pragma once

#include <QString>
#include <string>
#include <vector>

class QFileDialog;

namespace pellox {

class DialogPaths {
 public:
  DialogPaths() = default;
  // Closes the descriptors: the dialog that used them must be gone.
  ~DialogPaths();
  DialogPaths(const DialogPaths&) = delete;
  DialogPaths& operator=(const DialogPaths&) = delete;

  // A folder for QFileDialog::setDirectory. A folder that is not UTF-8 and
  // cannot be opened is given as text that names no folder.
  QString Folder(const std::string& folder);
  // A file (a path or a bare name) for QFileDialog::selectFile.
  QString File(const std::string& file);
  // The bytes of a path that the dialog gave back.
  std::string Bytes(const QString& path) const;

  // Leaves no name of a descriptor in what the dialog keeps for later
  // dialogs (its history and the last folder visited): a descriptor's name
  // means nothing once it is closed. Call it before the dialog goes.
  void Forget(QFileDialog& dialog) const;

 private:
  struct Alias {
    QString Name;       // "/proc/self/fd/N"
    std::string Bytes;  // the folder's own path, without a "/" at its end
    int Descriptor;
  };
  const Alias* AliasOf(const QString& path) const;

  std::vector<Alias> aliases_;
  QString offeredFile_;
  std::string offeredBytes_;
};

}  // namespace pellox
