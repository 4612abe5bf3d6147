// One open list file on Windows.
#pragma once

#include "platform/file_system.h"
#include "platform/win32/scoped_handle.h"

namespace pellox::win32 {

// ReadFile/WriteFile on a handle the file system opened. Every failure
// raises EInOutError with GetLastError(). Files opened for writing are
// flushed to the disk before they are closed, so that a replace never puts
// an unwritten file in the target's place.
class Win32File : public File {
 public:
  Win32File(ScopedHandle handle, bool written) : handle_(std::move(handle)), written_(written) {}

  size_t Read(char* buffer, size_t size) override;
  void Write(const char* data, size_t size) override;
  void Close() override;

 private:
  ScopedHandle handle_;
  bool written_;
};

}  // namespace pellox::win32
