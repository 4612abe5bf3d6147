#include "platform/linux/cups_printer_system.h"

#include <cups/cups.h>
#include <strings.h>

#include <cstring>

namespace pellox {
namespace {

// The destinations of the user's CUPS view, freed with the object. With no
// scheduler to reach the list is simply empty.
class Destinations {
 public:
  Destinations() : count_(cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_)) {}
  ~Destinations() { cupsFreeDests(count_, dests_); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  cups_dest_t* begin() const { return dests_; }
  cups_dest_t* end() const { return dests_ + count_; }
  int Count() const { return count_; }
  cups_dest_t* Array() const { return dests_; }
  // The default destination (lpoptions, LPDEST, PRINTER or the
  // scheduler's), or null.
  const cups_dest_t* Default() const { return cupsGetDest(nullptr, nullptr, count_, dests_); }

 private:
  cups_dest_t* dests_ = nullptr;
  int count_;
};

// The record sizes of the Windows enumeration this stands in for: the
// fixed part of PRINTER_INFO_4 (name, server, attributes) or PRINTER_INFO_5
// (name, port list, attributes, two time-outs), then the strings.
constexpr uint32_t kFixedBytesLevel4 = 3 * sizeof(void*);
constexpr uint32_t kFixedBytesLevel5 = 5 * sizeof(void*);

PrinterRecord RecordFor(const cups_dest_t& dest, int level) {
  PrinterRecord record{dest.name, std::nullopt};
  if (level == 5) {
    if (const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options)) {
      record.PortList = uri;
    }
  }
  return record;
}

uint32_t BytesFor(const PrinterRecord& record, int level) {
  uint32_t bytes = level == 5 ? kFixedBytesLevel5 : kFixedBytesLevel4;
  bytes += static_cast<uint32_t>(record.Name.size() + 1);
  if (record.PortList) bytes += static_cast<uint32_t>(record.PortList->size() + 1);
  return bytes;
}

bool IsWindowsDevice(const std::string& section, const std::string& key) {
  // Profile names are not case-sensitive on the system they come from.
  return strcasecmp(section.c_str(), "windows") == 0 && strcasecmp(key.c_str(), "device") == 0;
}

std::string CutToBuffer(const std::string& text, size_t bufferChars) {
  if (bufferChars == 0) return {};
  return text.substr(0, bufferChars - 1);
}

// strerror_r comes in two flavours; these overloads take either.
[[maybe_unused]] std::string ErrorText(int result, const char* buffer) {
  return result == 0 ? buffer : std::string();
}
[[maybe_unused]] std::string ErrorText(const char* result, const char*) { return result; }

}  // namespace

uint32_t CupsPrinterSystem::PlatformId() { return platform_id::kWin32Nt; }

EnumPrintersResult CupsPrinterSystem::EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                                   std::vector<PrinterRecord>& records) {
  Destinations dests;
  std::vector<PrinterRecord> found;
  if (flags & printer_enum::kDefault) {
    if (const cups_dest_t* dest = dests.Default()) found.push_back(RecordFor(*dest, level));
  } else {
    for (const cups_dest_t& dest : dests) {
      if (dest.instance == nullptr) found.push_back(RecordFor(dest, level));
    }
  }

  EnumPrintersResult result;
  for (const PrinterRecord& record : found) result.Needed += BytesFor(record, level);
  if (bufferSize < result.Needed) {
    result.LastError = printer_enum::kErrorInsufficientBuffer;
    return result;
  }
  records.insert(records.end(), found.begin(), found.end());
  result.Ok = true;
  return result;
}

std::string CupsPrinterSystem::GetProfileString(const std::string& section, const std::string& key,
                                                const std::string& fallback, size_t bufferChars) {
  if (!IsWindowsDevice(section, key)) return CutToBuffer(fallback, bufferChars);
  Destinations dests;
  const cups_dest_t* dest = dests.Default();
  return CutToBuffer(dest ? std::string(dest->name) + ",," : fallback, bufferChars);
}

void CupsPrinterSystem::WriteProfileString(const std::string& section, const std::string& key,
                                           const std::string& value) {
  if (!IsWindowsDevice(section, key)) return;
  const std::string device = value.substr(0, value.find(','));
  Destinations dests;
  // Like `lpoptions -d`: only a known destination can become the default.
  if (cupsGetDest(device.c_str(), nullptr, dests.Count(), dests.Array()) == nullptr) return;
  for (cups_dest_t& dest : dests) {
    dest.is_default = dest.instance == nullptr && strcasecmp(device.c_str(), dest.name) == 0;
  }
  cupsSetDests2(CUPS_HTTP_DEFAULT, dests.Count(), dests.Array());
}

void CupsPrinterSystem::BroadcastSettingChange(const std::string& /*section*/) {}

std::string CupsPrinterSystem::SystemErrorText(uint32_t code) {
  char buffer[256] = {};
  return ErrorText(strerror_r(static_cast<int>(code), buffer, sizeof buffer), buffer);
}

}  // namespace pellox
