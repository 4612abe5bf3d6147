#include "platform/windows/win32_file_replacement.h"

#include "platform/windows/win32_api.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "common/errors.h"
#include "platform/in_place_overwrite.h"
#include "platform/windows/last_error.h"
#include "platform/windows/win32_file.h"
#include "platform/windows/win32_kept_copy.h"

namespace pellox::win32 {

namespace {

// Tries before giving up on finding a free temporary name.
constexpr unsigned kTempNameTries = 100;
// How long a save waits for another save of the same file to end.
constexpr DWORD kShareWaitMs = 3000;
constexpr DWORD kSharePollMs = 20;
// The attributes a new file takes over from the one it replaces; read-only
// files are refused before, and the others are the file system's own.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Throws GetLastError() after `handle` is closed, so that the close cannot
// change the code.
[[noreturn]] void CloseAndThrow(ScopedHandle& handle) {
  const DWORD code = GetLastError();
  handle.Reset();
  SetLastError(code);
  ThrowLastInOutError();
}

// The security descriptor parts `what` of the file at `path` or of an open
// file; none when they cannot be read.
std::optional<std::vector<BYTE>> SecurityOf(const std::string& path, SECURITY_INFORMATION what) {
  DWORD needed = 0;
  GetFileSecurityA(path.c_str(), what, nullptr, 0, &needed);
  std::vector<BYTE> descriptor(needed);
  if (needed == 0 || !GetFileSecurityA(path.c_str(), what, descriptor.data(), needed, &needed)) {
    return std::nullopt;
  }
  return descriptor;
}

std::optional<std::vector<BYTE>> SecurityOf(HANDLE handle, SECURITY_INFORMATION what) {
  DWORD needed = 0;
  GetKernelObjectSecurity(handle, what, nullptr, 0, &needed);
  std::vector<BYTE> descriptor(needed);
  if (needed == 0 || !GetKernelObjectSecurity(handle, what, descriptor.data(), needed, &needed)) {
    return std::nullopt;
  }
  return descriptor;
}

// Gives the new file `temp` the access control list of `target`; false
// when the move would change the file's owner or its access control list
// cannot be carried over. A target whose security cannot be read at all
// (a file system without it) has none to lose.
bool TakeSecurityOf(const std::string& target, HANDLE temp) {
  constexpr SECURITY_INFORMATION kOwnerAndList =
      OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  std::optional<std::vector<BYTE>> old = SecurityOf(target, kOwnerAndList);
  if (!old) return GetLastError() == ERROR_NOT_SUPPORTED;
  std::optional<std::vector<BYTE>> fresh = SecurityOf(temp, OWNER_SECURITY_INFORMATION);
  PSID oldOwner = nullptr;
  PSID newOwner = nullptr;
  BOOL defaulted = FALSE;
  if (!fresh || !GetSecurityDescriptorOwner(old->data(), &oldOwner, &defaulted) ||
      !GetSecurityDescriptorOwner(fresh->data(), &newOwner, &defaulted) || oldOwner == nullptr ||
      newOwner == nullptr || !EqualSid(oldOwner, newOwner)) {
    return false;
  }
  return SetKernelObjectSecurity(temp, DACL_SECURITY_INFORMATION, old->data()) != FALSE;
}

class MovingReplacement : public FileReplacement {
 public:
  MovingReplacement(ScopedHandle handle, std::string tempPath, std::string target, DWORD attributes)
      : handle_(std::move(handle)),
        tempPath_(std::move(tempPath)),
        target_(std::move(target)),
        attributes_(attributes) {}
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
    if (attributes_ != 0 && !SetFileAttributesA(tempPath_.c_str(), attributes_)) {
      ThrowLastInOutError();
    }
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
  DWORD attributes_;  // to give the new file, 0 for none
};

class InPlaceReplacement : public FileReplacement, private OverwrittenFile {
 public:
  InPlaceReplacement(ScopedHandle handle, const std::string& path, bool existed,
                     std::string oldContents)
      : handle_(std::move(handle)),
        path_(path),
        kept_(existed ? std::make_optional<KeptCopy>(path, oldContents) : std::nullopt),
        overwrite_(*this, std::move(oldContents)) {}
  ~InPlaceReplacement() override {
    if (committed_) return;
    if (!kept_) {
      handle_.Reset();
      DeleteFileA(path_.c_str());
    } else if (overwrite_.Restore()) {
      // The copy goes only once the old contents are whole on the disk again.
      kept_->Remove();
    }
  }
  InPlaceReplacement(const InPlaceReplacement&) = delete;
  InPlaceReplacement& operator=(const InPlaceReplacement&) = delete;

  void Start() { overwrite_.Start(); }

  void Write(const char* data, size_t size) override { overwrite_.Write(data, size); }

  void Commit() override {
    overwrite_.Finish();
    committed_ = true;
    if (kept_) kept_->Remove();
    if (!CloseHandle(handle_.Release())) {
      try {
        ThrowLastInOutError();
      } catch (const EInOutError& error) {
        throw error.AfterReplace();
      }
    }
  }

 private:
  void MoveTo(uint64_t offset) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(handle_.Get(), at, nullptr, FILE_BEGIN)) ThrowLastInOutError();
  }
  void WriteAt(uint64_t offset, const char* data, size_t size) override {
    MoveTo(offset);
    WriteAll(handle_.Get(), data, size);
  }
  void Truncate(uint64_t size) override {
    MoveTo(size);
    if (!SetEndOfFile(handle_.Get())) ThrowLastInOutError();
  }
  void Sync() override {
    if (!FlushFileBuffers(handle_.Get())) ThrowLastInOutError();
  }

  ScopedHandle handle_;
  std::string path_;
  std::optional<KeptCopy> kept_;  // for a file that existed
  InPlaceOverwrite overwrite_;
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

// Opens `path` for the save, waiting a little while another program (a
// save in progress) has it open for writing.
HANDLE OpenForSave(const std::string& path, DWORD creation) {
  for (DWORD waited = 0;; waited += kSharePollMs) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION ||
        waited >= kShareWaitMs) {
      return handle;
    }
    Sleep(kSharePollMs);
  }
}

}  // namespace

std::unique_ptr<FileReplacement> CreateMovingReplacement(const std::string& folder,
                                                         const std::string& target) {
  if (folder.size() + kTempNameLength >= MAX_PATH) return nullptr;
  const DWORD targetAttributes = GetFileAttributesA(target.c_str());
  const bool exists = targetAttributes != INVALID_FILE_ATTRIBUTES;
  unsigned seed = static_cast<unsigned>(GetCurrentProcessId() ^ GetTickCount());
  for (unsigned attempt = 0; attempt < kTempNameTries; ++attempt) {
    char name[kTempNameLength + 1];
    std::snprintf(name, sizeof name, "%s%04x%s", kTempPrefix, (seed + attempt) & 0xFFFFu,
                  kTempSuffix);
    const std::string path = folder + name;
    ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE | READ_CONTROL | WRITE_DAC,
                                    FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
    if (handle.IsValid()) {
      if (exists && !TakeSecurityOf(target, handle.Get())) {
        handle.Reset();
        DeleteFileA(path.c_str());
        return nullptr;
      }
      return std::make_unique<MovingReplacement>(std::move(handle), path, target,
                                                 exists ? targetAttributes & kKeptAttributes : 0);
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
  ScopedHandle handle(OpenForSave(path, exists ? OPEN_EXISTING : CREATE_NEW));
  if (!handle.IsValid()) ThrowLastInOutError();
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) {
    handle.Reset();
    SetLastError(ERROR_ACCESS_DENIED);
    ThrowLastInOutError();
  }
  std::string oldContents = exists ? ReadWhole(handle.Get()) : std::string();
  auto replacement =
      std::make_unique<InPlaceReplacement>(std::move(handle), path, exists, std::move(oldContents));
  replacement->Start();
  return replacement;
}

}  // namespace pellox::win32
