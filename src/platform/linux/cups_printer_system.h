// Printers, the default printer and the profile through CUPS.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/printer_system.h"

namespace pellox {

// Reports the CUPS destinations as printers and keeps the default printer
// as the user's CUPS default destination (the one `lpoptions -d` sets).
// Every question to the scheduler ends within about `queryTimeoutMs` plus
// a second or two: one that does not answer (stalled, or not there) is a
// failure with an errno value as its code (ETIMEDOUT, EHOSTDOWN), never a
// wait of minutes.
class CupsPrinterSystem : public PrinterSystem {
 public:
  static constexpr int kQueryTimeoutMs = 3000;

  explicit CupsPrinterSystem(int queryTimeoutMs = kQueryTimeoutMs);

  // Always platform_id::kWin32Nt: one enumeration per printer name.
  uint32_t PlatformId() override;

  // kDefault: the default destination only (or none); other flags: every
  // destination without its instances, in the order CUPS reports them.
  // With `bufferSize` below Needed: Ok false, LastError
  // kErrorInsufficientBuffer, `records` untouched. A scheduler that cannot
  // be reached: Ok false, Needed 0, LastError the errno value.
  // One question serves a size query and the fill that follows it: the
  // answer is kept for the next call with the same flags and level (for a
  // few seconds at most); any other call drops it.
  EnumPrintersResult EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                  std::vector<PrinterRecord>& records) override;

  // [windows] device: "<default destination>,," or `fallback` when there is
  // no default; other keys give `fallback`. Cut to `bufferChars` - 1 bytes.
  // Raises EWin32Error when the scheduler cannot be reached.
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& fallback, size_t bufferChars) override;

  // [windows] device: makes the printer that `value` was built from (its
  // name cut to 80 characters, then ",,", as DeviceProfileValue builds it)
  // the user's default destination. The printer is looked for among the
  // full names of the last list enumeration (or of the scheduler's list when
  // there was none), so a name with a comma or of more than 80 characters
  // is switched as it is. Raises EWin32Error instead of switching another
  // printer: ENODEV when no printer matches, ENOTUNIQ when several do; and
  // when the scheduler cannot be reached or the default cannot be stored.
  // Other sections and keys are ignored.
  void WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value) override;

  // Nothing to tell on Linux: every CUPS client reads the default anew.
  void BroadcastSettingChange(const std::string& section) override;

  // The C library's text for `code` taken as an errno value.
  std::string SystemErrorText(uint32_t code) override;

 private:
  struct Answer {
    uint32_t Flags = 0;
    int Level = 0;
    std::chrono::steady_clock::time_point At;
    uint32_t Error = 0;  // errno value; 0: the scheduler answered
    std::vector<PrinterRecord> Records;
  };

  Answer Ask(uint32_t flags, int level);
  [[noreturn]] void RaiseSystemError(uint32_t code);

  int queryTimeoutMs_;
  std::optional<Answer> kept_;
  std::vector<std::string> listedNames_;
};

}  // namespace pellox
