#include "platform/linux/cups_printer_system.h"

namespace pellox {
uint32_t CupsPrinterSystem::PlatformId() { return platform_id::kWin32Nt; }
EnumPrintersResult CupsPrinterSystem::EnumPrinters(uint32_t, int, uint32_t,
                                                   std::vector<PrinterRecord>&) {
  return {true, 0, 0};
}
std::string CupsPrinterSystem::GetProfileString(const std::string&, const std::string&,
                                                const std::string& fallback, size_t) {
  return fallback;
}
void CupsPrinterSystem::WriteProfileString(const std::string&, const std::string&,
                                           const std::string&) {}
void CupsPrinterSystem::BroadcastSettingChange(const std::string&) {}
std::string CupsPrinterSystem::SystemErrorText(uint32_t) { return {}; }
}  // namespace pellox
