#include "platform/win32/win32_file_replacement.h"

#include "platform/win32/win32_api.h"

#include <cstdio>
#include <cstring>

#include "platform/win32/last_error.h"
#include "platform/win32/win32_file.h"

namespace pellox::win32 {

namespace {

// Tries before giving up on finding a free temporary name.
constexpr unsigned kTempNameTries = 100;

// Throws GetLastError() after `handle` is closed, so that the close cannot
// change the code.
[[noreturn]] void CloseAndThrow(ScopedHandle& handle) {
  const DWORD code = GetLastError();
  handle.Reset();
  SetLastError(code);
  ThrowLastInOutError();
}

bool IsTempName(const char* name) {
  const size_t prefix = sizeof kTempPrefix - 1;
  if (std::strlen(name) != kTempNameLength || std::strncmp(name, kTempPrefix, prefix) != 0 ||
      std::strcmp(name + prefix + 4, kTempSuffix) != 0) {
    return false;
  }
  for (size_t i = prefix; i < prefix + 4; ++i) {
    if (!std::strchr("0123456789abcdef", name[i])) return false;
  }
  return true;
}

// A temporary file that a save in progress holds open cannot be deleted
// (it is not shared for deleting); what is left can only be a killed save's.
void RemoveAbandonedTempFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + kTempPrefix + "????" + kTempSuffix).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsTempName(found.cFileName)) {
      DeleteFileA((folder + found.cFileName).c_str());
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

class MovingReplacement : public FileReplacement {
 public:
  MovingReplacement(ScopedHandle handle, std::string tempPath, std::string target)
      : handle_(std::move(handle)), tempPath_(std::move(tempPath)), target_(std::move(target)) {}
  ~MovingReplacement() override {
    if (tempPath_.empty()) return;
    handle_.Reset();
    DeleteFileA(tempPath_.c_str());
  }
  MovingReplacement(const MovingReplacement&) = delete;
  MovingReplacement& operator=(const MovingReplacement&) = delete;

  void Write(const char* data, size_t size) override { WriteAll(handle_.Get(), data, size); }

  void Commit() override {
    // On the disk before it takes the old file's place, so that a full disk
    // or a failing device is reported while the old list is still there.
    if (!FlushFileBuffers(handle_.Get())) CloseAndThrow(handle_);
    if (!CloseHandle(handle_.Release())) ThrowLastInOutError();
    // Write-through: the move itself is on the disk when the call returns.
    if (!MoveFileExA(tempPath_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      ThrowLastInOutError();
    }
    tempPath_.clear();
  }

 private:
  ScopedHandle handle_;
  std::string tempPath_;  // empty once moved
  std::string target_;
};

class InPlaceReplacement : public FileReplacement {
 public:
  InPlaceReplacement(ScopedHandle handle, std::string path, bool existed, std::string oldContents)
      : handle_(std::move(handle)),
        path_(std::move(path)),
        existed_(existed),
        oldContents_(std::move(oldContents)) {}
  ~InPlaceReplacement() override {
    if (committed_) return;
    if (existed_) {
      RestoreOldContents();
    } else {
      handle_.Reset();
      DeleteFileA(path_.c_str());
    }
  }
  InPlaceReplacement(const InPlaceReplacement&) = delete;
  InPlaceReplacement& operator=(const InPlaceReplacement&) = delete;

  void Write(const char* data, size_t size) override { WriteAll(handle_.Get(), data, size); }

  void Commit() override {
    if (!SetEndOfFile(handle_.Get()) || !FlushFileBuffers(handle_.Get())) ThrowLastInOutError();
    committed_ = true;
    if (!CloseHandle(handle_.Release())) ThrowLastInOutError();
  }

 private:
  // Writing over space the old contents already had needs no new space,
  // so this works on the full disk that made the save fail.
  void RestoreOldContents() noexcept {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(handle_.Get(), start, nullptr, FILE_BEGIN)) return;
    try {
      WriteAll(handle_.Get(), oldContents_.data(), oldContents_.size());
    } catch (...) {
      // Nothing more can be done here; the save's own error is on its way.
    }
    SetEndOfFile(handle_.Get());
    FlushFileBuffers(handle_.Get());
  }

  ScopedHandle handle_;
  std::string path_;
  bool existed_;
  std::string oldContents_;
  bool committed_ = false;
};

std::string ReadWhole(HANDLE handle) {
  std::string contents;
  char buffer[64 * 1024];
  for (;;) {
    DWORD done = 0;
    if (!ReadFile(handle, buffer, sizeof buffer, &done, nullptr)) ThrowLastInOutError();
    if (done == 0) return contents;
    contents.append(buffer, done);
  }
}

}  // namespace

std::unique_ptr<FileReplacement> CreateMovingReplacement(const std::string& folder,
                                                         const std::string& target) {
  if (folder.size() + kTempNameLength >= MAX_PATH) return nullptr;
  RemoveAbandonedTempFiles(folder);
  unsigned seed = static_cast<unsigned>(GetCurrentProcessId() ^ GetTickCount());
  for (unsigned attempt = 0; attempt < kTempNameTries; ++attempt) {
    char name[kTempNameLength + 1];
    std::snprintf(name, sizeof name, "%s%04x%s", kTempPrefix, (seed + attempt) & 0xFFFFu,
                  kTempSuffix);
    const std::string path = folder + name;
    // Not shared for deleting, so that no other save takes it for a leftover.
    ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle.IsValid()) {
      return std::make_unique<MovingReplacement>(std::move(handle), path, target);
    }
    const DWORD code = GetLastError();
    if (code == ERROR_ACCESS_DENIED) return nullptr;
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
      SetLastError(code);
      ThrowLastInOutError();
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  ThrowLastInOutError();
}

std::unique_ptr<FileReplacement> CreateInPlaceReplacement(const std::string& path, bool exists) {
  ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, exists ? OPEN_EXISTING : CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.IsValid()) ThrowLastInOutError();
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) {
    handle.Reset();
    SetLastError(ERROR_ACCESS_DENIED);
    ThrowLastInOutError();
  }
  std::string oldContents = exists ? ReadWhole(handle.Get()) : std::string();
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(handle.Get(), start, nullptr, FILE_BEGIN)) ThrowLastInOutError();
  return std::make_unique<InPlaceReplacement>(std::move(handle), path, exists,
                                              std::move(oldContents));
}

}  // namespace pellox::win32
