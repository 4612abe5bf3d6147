#include "platform/windows/win32_printer_system.h"

#include "platform/windows/win32_api.h"

#include "platform/windows/last_error.h"

namespace pellox::win32 {

namespace {

std::string TextOf(const char* text) { return text ? std::string(text) : std::string(); }

void CopyRecords(int level, const BYTE* buffer, DWORD count, std::vector<PrinterRecord>& records) {
  for (DWORD i = 0; i < count; ++i) {
    if (level == printer_level::kName) {
      const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer) + i;
      records.push_back({TextOf(info->pPrinterName), std::nullopt});
    } else {
      const auto* info = reinterpret_cast<const PRINTER_INFO_5A*>(buffer) + i;
      PrinterRecord record{TextOf(info->pPrinterName), std::nullopt};
      if (info->pPortName) record.PortList = info->pPortName;
      records.push_back(std::move(record));
    }
  }
}

}  // namespace

uint32_t Win32PrinterSystem::PlatformId() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return platform_id::kWin32Nt;
  return version.dwPlatformId;
}

EnumPrintersResult Win32PrinterSystem::EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                                    std::vector<PrinterRecord>& records) {
  // The buffer holds the records and the strings they point into, zero
  // filled so that a partly written buffer never yields stray pointers.
  std::vector<BYTE> buffer(bufferSize);
  DWORD needed = 0;
  DWORD returned = 0;
  EnumPrintersResult result;
  result.Ok =
      EnumPrintersA(flags, nullptr, static_cast<DWORD>(level), bufferSize ? buffer.data() : nullptr,
                    bufferSize, &needed, &returned) != FALSE;
  result.LastError = result.Ok ? 0 : GetLastError();
  result.Needed = needed;
  if (result.Ok) CopyRecords(level, buffer.data(), returned, records);
  return result;
}

std::string Win32PrinterSystem::GetProfileString(const std::string& section, const std::string& key,
                                                 const std::string& fallback, size_t bufferChars) {
  std::string buffer(bufferChars, '\0');
  const DWORD length = GetProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                         buffer.data(), static_cast<DWORD>(bufferChars));
  buffer.resize(length);
  return buffer;
}

void Win32PrinterSystem::WriteProfileString(const std::string& section, const std::string& key,
                                            const std::string& value) {
  WriteProfileStringA(section.c_str(), key.c_str(), value.c_str());
}

void Win32PrinterSystem::BroadcastSettingChange(const std::string& section) {
  SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(section.c_str()));
}

std::string Win32PrinterSystem::SystemErrorText(uint32_t code) { return SystemMessageText(code); }

}  // namespace pellox::win32
