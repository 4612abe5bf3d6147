// Printers, the system profile and the settings broadcast on Windows.
#pragma once

#include "platform/printer_system.h"

namespace pellox::win32 {

// EnumPrintersA with the caller's buffer size (the size-then-fill protocol),
// GetProfileStringA/WriteProfileStringA on win.ini's mapping, and a
// synchronous WM_WININICHANGE broadcast.
class Win32PrinterSystem : public PrinterSystem {
 public:
  // GetVersionExA's platform id.
  uint32_t PlatformId() override;
  // Calls EnumPrintersA with a buffer of exactly `bufferSize` bytes (none for
  // 0) and copies the names out of it before the buffer is released.
  EnumPrintersResult EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                  std::vector<PrinterRecord>& records) override;
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& fallback, size_t bufferChars) override;
  void WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value) override;
  // SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, section).
  void BroadcastSettingChange(const std::string& section) override;
  std::string SystemErrorText(uint32_t code) override;
};

}  // namespace pellox::win32
