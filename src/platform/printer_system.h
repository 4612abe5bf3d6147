// Printer enumeration, the system profile and the settings broadcast.
// System-independent interface; the platform folders implement it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellox {

namespace printer_enum {
inline constexpr uint32_t kDefault = 1;      // the default printer only
inline constexpr uint32_t kLocal = 2;        // local printers
inline constexpr uint32_t kConnections = 4;  // printer connections
inline constexpr uint32_t kErrorInsufficientBuffer = 122;
}  // namespace printer_enum

// The information levels of a printer enumeration (see PrinterRecord).
namespace printer_level {
inline constexpr int kName = 4;          // the name only
inline constexpr int kNameAndPorts = 5;  // the name and the port list
}  // namespace printer_level

namespace platform_id {
inline constexpr uint32_t kWin32Windows = 1;
inline constexpr uint32_t kWin32Nt = 2;
}  // namespace platform_id

// One printer as an enumeration reports it. Level 4 fills only the name;
// level 5 also the port list ("LPT1:, FILE:"), which may be absent.
struct PrinterRecord {
  std::string Name;
  std::optional<std::string> PortList;
};

struct EnumPrintersResult {
  bool Ok = false;         // the call succeeded and `records` were filled
  uint32_t Needed = 0;     // bytes the records need, reported on every call
  uint32_t LastError = 0;  // the system's error code when Ok is false
};

class PrinterSystem {
 public:
  virtual ~PrinterSystem() = default;

  // The platform id the system's version query reports (platform_id::*);
  // it picks the enumeration variant.
  virtual uint32_t PlatformId() = 0;

  // The size-then-fill enumeration: with a `bufferSize` below what the
  // printers need it fails with LastError kErrorInsufficientBuffer (or
  // another code) and reports Needed; with enough it fills `records` in the
  // system's order and succeeds. `flags` are printer_enum bits; `level` is a
  // printer_level.
  virtual EnumPrintersResult EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                          std::vector<PrinterRecord>& records) = 0;

  // The profile: reads `key` of `section` into at most `bufferChars` - 1
  // characters, `fallback` when it is missing. A profile kept by a service
  // that cannot be reached raises EWin32Error (the Windows profile never
  // does).
  virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& fallback, size_t bufferChars) = 0;
  // Writes the profile value; failures are not reported, except where the
  // profile stands in for a service that must be told which printer the
  // value names: a value it cannot tie to exactly one printer, or a service
  // that cannot be reached, raises EWin32Error rather than switching
  // another printer (the Windows profile write never raises).
  virtual void WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string& value) = 0;
  // Tells every top-level window that profile `section` changed; returns
  // when they have handled it. Failures are not reported.
  virtual void BroadcastSettingChange(const std::string& section) = 0;

  // The system's message text for an error code, for EWin32Error, in UTF-8
  // like every message of the core.
  virtual std::string SystemErrorText(uint32_t code) = 0;
};

}  // namespace pellox
