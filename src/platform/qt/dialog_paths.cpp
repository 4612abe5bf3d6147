#include "platform/qt/dialog_paths.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "common/text.h"
#include "platform/linux/linux_process_info.h"
#include "platform/qt/byte_text.h"

namespace pellox {
namespace {

// Whether Qt names this path as it is on disk.
bool IsUtf8(const std::string& bytes) {
  return QFile::encodeName(QFile::decodeName(QByteArray::fromStdString(bytes))).toStdString() ==
         bytes;
}

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The nearest folder above `bytes` (or itself) that Qt can name and that
// exists; "/" at the top.
QString NearestNamedFolder(std::string bytes) {
  for (;;) {
    bytes = WithoutTrailingSlash(bytes);
    if (IsUtf8(bytes) && QDir(QFile::decodeName(QByteArray::fromStdString(bytes))).exists())
      return QFile::decodeName(QByteArray::fromStdString(bytes));
    const size_t slash = bytes.rfind('/');
    if (slash == std::string::npos || bytes == "/") return QStringLiteral("/");
    bytes.resize(slash + 1);
  }
}

}  // namespace

DialogPaths::~DialogPaths() {
  for (const Alias& alias : aliases_) close(alias.Descriptor);
}

QString DialogPaths::Folder(const std::string& folder) {
  if (IsUtf8(folder)) return QFile::decodeName(QByteArray::fromStdString(folder));
  const std::string bytes = WithoutTrailingSlash(folder);
  for (const Alias& alias : aliases_) {
    if (alias.Bytes == bytes) return alias.Name;
  }
  const int descriptor = open(bytes.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return ToQString(folder);
  aliases_.push_back({QStringLiteral("/proc/self/fd/%1").arg(descriptor), bytes, descriptor});
  return aliases_.back().Name;
}

QString DialogPaths::File(const std::string& file) {
  if (IsUtf8(file)) return QFile::decodeName(QByteArray::fromStdString(file));
  const std::string folderBytes = FolderPart(file, kPosixPathSeparators);
  const std::string name = file.substr(folderBytes.size());
  QString offered =
      IsUtf8(name) ? QFile::decodeName(QByteArray::fromStdString(name)) : ToQString(name);
  if (!folderBytes.empty()) {
    QString folder = Folder(folderBytes);
    if (!folder.endsWith('/')) folder += '/';
    offered.prepend(folder);
  }
  offeredFile_ = offered;
  offeredBytes_ = file;
  return offered;
}

const DialogPaths::Alias* DialogPaths::AliasOf(const QString& path) const {
  for (const Alias& alias : aliases_) {
    if (path == alias.Name || path.startsWith(alias.Name + '/')) return &alias;
  }
  return nullptr;
}

std::string DialogPaths::Bytes(const QString& path) const {
  if (!offeredFile_.isEmpty() && path == offeredFile_) return offeredBytes_;
  if (const Alias* alias = AliasOf(path))
    return alias->Bytes + QFile::encodeName(path.mid(alias->Name.size())).toStdString();
  return QFile::encodeName(path).toStdString();
}

void DialogPaths::Forget(QFileDialog& dialog) const {
  if (aliases_.empty()) return;
  QStringList history = dialog.history();
  history.removeIf([this](const QString& folder) { return AliasOf(folder) != nullptr; });
  dialog.setHistory(history);
  if (const Alias* alias = AliasOf(dialog.directory().absolutePath()))
    dialog.setDirectory(NearestNamedFolder(alias->Bytes));
}

}  // namespace pellox
