#include "platform/windows/win32_file.h"

#include <algorithm>

#include "platform/windows/last_error.h"

namespace pellox::win32 {

namespace {
// ReadFile and WriteFile take 32-bit counts.
constexpr size_t kMaxChunk = 1u << 30;
}  // namespace

size_t Win32File::Read(char* buffer, size_t size) {
  DWORD done = 0;
  const DWORD wanted = static_cast<DWORD>(std::min(size, kMaxChunk));
  if (!ReadFile(handle_.Get(), buffer, wanted, &done, nullptr)) ThrowLastInOutError();
  return done;
}

void Win32File::Close() {
  if (!CloseHandle(handle_.Release())) ThrowLastInOutError();
}

void WriteAll(HANDLE handle, const char* data, size_t size) {
  while (size > 0) {
    DWORD done = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(size, kMaxChunk));
    if (!WriteFile(handle, data, wanted, &done, nullptr)) ThrowLastInOutError();
    data += done;
    size -= done;
  }
}

}  // namespace pellox::win32
