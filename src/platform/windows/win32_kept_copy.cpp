#include "platform/windows/win32_kept_copy.h"

#include "platform/windows/win32_api.h"

#include <string>
#include <vector>

#include "common/errors.h"
#include "common/text.h"
#include "platform/windows/last_error.h"
#include "platform/windows/win32_file.h"
#include "platform/windows/win32_process_info.h"

namespace pellox::win32 {

namespace {

// Names tried in one folder before it counts as full of copies.
constexpr int kNameTries = 100;
constexpr char kKeptEnding[] = ".pellox-kept";
constexpr char kListExtension[] = ".lst";

std::string CopyName(const std::string& name, int attempt) {
  std::string ending = kKeptEnding;
  if (attempt > 1) ending += "-" + std::to_string(attempt);
  return name + ending + kListExtension;
}

// The folders after the list's own, each with its trailing separator.
std::vector<std::string> OtherFolders() {
  std::vector<std::string> folders;
  char buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    const std::string folder = std::string(buffer, length) + "\\Pellox";
    CreateDirectoryA(folder.c_str(), nullptr);
    folders.push_back(folder + "\\");
  }
  const DWORD tempLength = GetTempPathA(MAX_PATH, buffer);
  if (tempLength > 0 && tempLength < MAX_PATH) folders.emplace_back(buffer, tempLength);
  return folders;
}

}  // namespace

KeptCopy::KeptCopy(const std::string& path, const std::string& contents) {
  const std::string folder = FolderPart(path, kPathSeparators);
  const std::string name = path.substr(folder.size());
  const DWORD besideError = MakeIn(folder, name, contents);
  if (besideError == ERROR_SUCCESS) return;
  for (const std::string& other : OtherFolders()) {
    if (MakeIn(other, name, contents) == ERROR_SUCCESS) return;
  }
  SetLastError(besideError);
  ThrowLastInOutError();
}

DWORD KeptCopy::MakeIn(const std::string& folder, const std::string& name,
                       const std::string& contents) {
  // Room for the longest ending tried; the name is cut where it lacks that.
  const size_t ending = sizeof kKeptEnding + 4 + sizeof kListExtension;
  if (folder.size() + ending >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
  const std::string fitting = name.substr(0, MAX_PATH - 1 - ending - folder.size());
  for (int attempt = 1; attempt <= kNameTries; ++attempt) {
    const std::string path = folder + CopyName(fitting, attempt);
    ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsValid()) {
      const DWORD code = GetLastError();
      if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) continue;
      return code;
    }
    handle_ = std::move(handle);
    try {
      WriteAll(handle_.Get(), contents.data(), contents.size());
      if (!FlushFileBuffers(handle_.Get())) ThrowLastInOutError();
    } catch (const EInOutError& error) {
      Remove();
      return static_cast<DWORD>(error.ErrorCode());
    }
    return ERROR_SUCCESS;
  }
  return ERROR_FILE_EXISTS;
}

void KeptCopy::Remove() noexcept {
  if (!handle_.IsValid()) return;
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  SetFileInformationByHandle(handle_.Get(), FileDispositionInfo, &disposition, sizeof disposition);
  handle_.Reset();
}

}  // namespace pellox::win32
