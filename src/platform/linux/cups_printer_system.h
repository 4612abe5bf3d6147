// Printers, the default printer and the profile through CUPS.
#pragma once

#include "platform/printer_system.h"

namespace pellox {

// Reports the CUPS destinations as printers and keeps the default printer
// as the user's CUPS default destination (the one `lpoptions -d` sets).
class CupsPrinterSystem : public PrinterSystem {
 public:
  // Always platform_id::kWin32Nt: one enumeration per printer name.
  uint32_t PlatformId() override;

  // kDefault: the default destination only (or none); other flags: every
  // destination without its instances, in the order CUPS reports them. A
  // scheduler that cannot be reached means no printers, not a failure.
  // With `bufferSize` below Needed: Ok false, LastError
  // kErrorInsufficientBuffer, `records` untouched.
  EnumPrintersResult EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                  std::vector<PrinterRecord>& records) override;

  // [windows] device: "<default destination>,," or `fallback` when there is
  // no default; other keys give `fallback`. Cut to `bufferChars` - 1 bytes.
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& fallback, size_t bufferChars) override;

  // [windows] device: makes the name before the first "," the user's default
  // destination. Other sections and keys are ignored, as are failures.
  void WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value) override;

  // Nothing to tell on Linux: every CUPS client reads the default anew.
  void BroadcastSettingChange(const std::string& section) override;

  // The C library's text for `code` taken as an errno value.
  std::string SystemErrorText(uint32_t code) override;
};

}  // namespace pellox
