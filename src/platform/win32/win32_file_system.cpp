#include "platform/win32/win32_file_system.h"

#include "platform/win32/win32_api.h"

#include <cstdio>

#include "common/text.h"
#include "platform/win32/last_error.h"
#include "platform/win32/win32_file.h"

namespace pellox::win32 {

namespace {

constexpr const char* kSeparators = "\\:";
// Tries before giving up on finding a free temporary name.
constexpr int kTempNameTries = 100;

void CheckPathLength(const std::string& path) {
  if (path.size() < MAX_PATH) return;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  ThrowLastInOutError();
}

std::string TempNameIn(const std::string& folder, unsigned attempt) {
  char name[40];
  std::snprintf(name, sizeof name, "~pellox%08lx%04x.tmp",
                static_cast<unsigned long>(GetCurrentProcessId() ^ GetTickCount()), attempt);
  return folder + name;
}

}  // namespace

std::unique_ptr<File> Win32FileSystem::OpenForReading(const std::string& path) {
  CheckPathLength(path);
  ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.IsValid()) ThrowLastInOutError();
  return std::make_unique<Win32File>(std::move(handle), false);
}

std::unique_ptr<File> Win32FileSystem::CreateTempBeside(const std::string& target,
                                                        std::string& tempPath) {
  CheckPathLength(target);
  const std::string folder = FolderPart(target, kSeparators);
  for (unsigned attempt = 0;; ++attempt) {
    const std::string path = TempNameIn(folder, attempt);
    CheckPathLength(path);
    ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle.IsValid()) {
      tempPath = path;
      return std::make_unique<Win32File>(std::move(handle), true);
    }
    const DWORD code = GetLastError();
    if ((code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) ||
        static_cast<int>(attempt) + 1 >= kTempNameTries) {
      SetLastError(code);
      ThrowLastInOutError();
    }
  }
}

void Win32FileSystem::Replace(const std::string& source, const std::string& target) {
  CheckPathLength(source);
  CheckPathLength(target);
  if (!MoveFileExA(source.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowLastInOutError();
  }
}

void Win32FileSystem::Remove(const std::string& path) noexcept { DeleteFileA(path.c_str()); }

}  // namespace pellox::win32
