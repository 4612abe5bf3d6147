#include "platform/windows/win32_file_system.h"

#include "platform/windows/win32_api.h"

#include <string>
#include <string_view>

#include "common/text.h"
#include "platform/windows/last_error.h"
#include "platform/windows/win32_file.h"
#include "platform/windows/win32_file_replacement.h"
#include "platform/windows/win32_process_info.h"

namespace pellox::win32 {

namespace {

void CheckPathLength(const std::string& path) {
  if (path.size() < MAX_PATH) return;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  ThrowLastInOutError();
}

[[noreturn]] void ThrowAccessDenied() {
  SetLastError(ERROR_ACCESS_DENIED);
  ThrowLastInOutError();
}

// What a save finds at its target.
struct TargetState {
  bool Exists = false;
  // What a new file moved into its place would not have: other names
  // (hard links) or alternate data streams.
  bool KeptOnlyInPlace = false;
};

// Whether the file at `path` has a data stream besides its own. No answer
// (ERROR_HANDLE_EOF) means none; any other failure counts as having one,
// so that nothing is lost.
bool HasAlternateStreams(const std::string& path) {
  const int length =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
  WIN32_FIND_STREAM_DATA stream{};
  HANDLE search = FindFirstStreamW(wide.c_str(), FindStreamInfoStandard, &stream, 0);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_HANDLE_EOF;
  bool others = false;
  do {
    others = others || std::wstring_view(stream.cStreamName) != L"::$DATA";
  } while (!others && FindNextStreamW(search, &stream));
  FindClose(search);
  return others;
}

// Refuses a target that is no writable disk file: a device such as NUL or
// CON, a pipe, a read-only file, a folder (which CreateFileA refuses).
TargetState LookAtTarget(const std::string& path) {
  ScopedHandle handle(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.IsValid()) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return {};
    SetLastError(code);
    ThrowLastInOutError();
  }
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) ThrowAccessDenied();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.Get(), &info)) ThrowLastInOutError();
  if ((info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    ThrowAccessDenied();
  }
  return {true, info.nNumberOfLinks > 1 || HasAlternateStreams(path)};
}

}  // namespace

std::unique_ptr<File> Win32FileSystem::OpenForReading(const std::string& path) {
  CheckPathLength(path);
  ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.IsValid()) ThrowLastInOutError();
  // Only a disk file ends: a device like CON or a pipe waits for data.
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) ThrowAccessDenied();
  return std::make_unique<Win32File>(std::move(handle));
}

std::unique_ptr<FileReplacement> Win32FileSystem::Replace(const std::string& path) {
  CheckPathLength(path);
  const TargetState target = LookAtTarget(path);
  if (!target.KeptOnlyInPlace) {
    if (auto moving = CreateMovingReplacement(FolderPart(path, kPathSeparators), path))
      return moving;
  }
  return CreateInPlaceReplacement(path, target.Exists);
}

}  // namespace pellox::win32
