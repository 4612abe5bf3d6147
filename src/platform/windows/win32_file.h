// One list file open for reading on Windows.
#pragma once

#include "platform/file_system.h"
#include "platform/windows/scoped_handle.h"

namespace pellox::win32 {

// ReadFile on a handle the file system opened. Every failure raises
// EInOutError with GetLastError().
class Win32File : public File {
 public:
  explicit Win32File(ScopedHandle handle) : handle_(std::move(handle)) {}

  size_t Read(char* buffer, size_t size) override;
  void Close() override;

 private:
  ScopedHandle handle_;
};

// Writes all `size` bytes at the handle's file pointer.
void WriteAll(HANDLE handle, const char* data, size_t size);

}  // namespace pellox::win32
