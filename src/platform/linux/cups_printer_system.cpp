#include "platform/linux/cups_printer_system.h"

#include <cups/cups.h>
#include <strings.h>

#include <cerrno>
#include <cstring>

#include "common/errors.h"
#include "printers/printer.h"

namespace pellox {
namespace {

using Clock = std::chrono::steady_clock;

// A size query and its fill come right after each other; an answer older
// than this is asked for again.
constexpr auto kKeptAnswerLifetime = std::chrono::seconds(5);

// How often a waiting request looks at its deadline.
constexpr double kTimeoutStepSeconds = 0.5;

// Keeps a request waiting until the deadline of its whole question.
int WaitUntilDeadline(http_t* /*http*/, void* deadline) {
  return Clock::now() < *static_cast<Clock::time_point*>(deadline) ? 1 : 0;
}

// The destinations of the user's CUPS view from one question to the
// scheduler, on a connection of its own whose requests end at a deadline
// (libcups would wait a minute per request), freed with the object.
class Destinations {
 public:
  explicit Destinations(int timeoutMs)
      : deadline_(Clock::now() + std::chrono::milliseconds(timeoutMs)) {
    // cupsServer() sets the port that ippPort() reports (CUPS_SERVER may say
    // host:port), so it is asked first.
    const std::string server = cupsServer();
    const int port = ippPort();
    http_ = httpConnect2(server.c_str(), port, nullptr, AF_UNSPEC, cupsEncryption(), 1, timeoutMs,
                         nullptr);
    if (http_ == nullptr) {
      // libcups reports every failed connection as "host is down".
      error_ = EHOSTDOWN;
      return;
    }
    httpSetTimeout(http_, kTimeoutStepSeconds, WaitUntilDeadline, &deadline_);
    count_ = cupsGetDests2(http_, &dests_);
    // No destinations and a failed connection: the scheduler did not answer
    // (an answer of "no printers" leaves the connection without an error).
    if (count_ == 0 && httpError(http_) != 0) error_ = static_cast<uint32_t>(httpError(http_));
  }
  ~Destinations() {
    cupsFreeDests(count_, dests_);
    if (http_) httpClose(http_);
  }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  // 0 when the scheduler answered, else an errno value.
  uint32_t Error() const { return error_; }
  http_t* Connection() const { return http_; }
  cups_dest_t* begin() const { return dests_; }
  cups_dest_t* end() const { return dests_ + count_; }
  int Count() const { return count_; }
  cups_dest_t* Array() const { return dests_; }
  // The default destination (lpoptions, LPDEST, PRINTER or the
  // scheduler's), or null.
  const cups_dest_t* Default() const { return cupsGetDest(nullptr, nullptr, count_, dests_); }

 private:
  Clock::time_point deadline_;
  http_t* http_ = nullptr;
  cups_dest_t* dests_ = nullptr;
  int count_ = 0;
  uint32_t error_ = 0;
};

// The record sizes of the Windows enumeration this stands in for: the
// fixed part of PRINTER_INFO_4 (name, server, attributes) or PRINTER_INFO_5
// (name, port list, attributes, two time-outs), then the strings.
constexpr uint32_t kFixedBytesLevel4 = 3 * sizeof(void*);
constexpr uint32_t kFixedBytesLevel5 = 5 * sizeof(void*);

PrinterRecord RecordFor(const cups_dest_t& dest, int level) {
  PrinterRecord record{dest.name, std::nullopt};
  if (level == printer_level::kNameAndPorts) {
    if (const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options)) {
      record.PortList = uri;
    }
  }
  return record;
}

uint32_t BytesFor(const PrinterRecord& record, int level) {
  uint32_t bytes = level == printer_level::kNameAndPorts ? kFixedBytesLevel5 : kFixedBytesLevel4;
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

// The one name among `names` that `value` was built from, as the printer
// switch builds it from a listed printer (no driver, no port); null when
// none or several are.
std::optional<std::string> PrinterNamed(const std::vector<std::string>& names,
                                        const std::string& value, uint32_t& error) {
  std::optional<std::string> found;
  for (const std::string& name : names) {
    if (DeviceProfileValue({name, "", ""}) != value) continue;
    if (found) {
      error = ENOTUNIQ;
      return std::nullopt;
    }
    found = name;
  }
  if (!found) error = ENODEV;
  return found;
}

// strerror_r comes in two flavours; these overloads take either.
[[maybe_unused]] std::string ErrorText(int result, const char* buffer) {
  return result == 0 ? buffer : std::string();
}
[[maybe_unused]] std::string ErrorText(const char* result, const char*) { return result; }

}  // namespace

CupsPrinterSystem::CupsPrinterSystem(int queryTimeoutMs) : queryTimeoutMs_(queryTimeoutMs) {}

uint32_t CupsPrinterSystem::PlatformId() { return platform_id::kWin32Nt; }

CupsPrinterSystem::Answer CupsPrinterSystem::Ask(uint32_t flags, int level) {
  Answer answer{flags, level, Clock::now(), 0, {}};
  Destinations dests(queryTimeoutMs_);
  answer.Error = dests.Error();
  if (answer.Error != 0) return answer;
  if (flags & printer_enum::kDefault) {
    if (const cups_dest_t* dest = dests.Default())
      answer.Records.push_back(RecordFor(*dest, level));
    return answer;
  }
  listedNames_.clear();
  for (const cups_dest_t& dest : dests) {
    if (dest.instance != nullptr) continue;
    answer.Records.push_back(RecordFor(dest, level));
    listedNames_.push_back(dest.name);
  }
  return answer;
}

EnumPrintersResult CupsPrinterSystem::EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                                   std::vector<PrinterRecord>& records) {
  std::optional<Answer> kept = std::move(kept_);
  kept_.reset();
  const bool fresh = !(kept && kept->Flags == flags && kept->Level == level &&
                       Clock::now() - kept->At < kKeptAnswerLifetime);
  Answer answer = fresh ? Ask(flags, level) : std::move(*kept);

  EnumPrintersResult result;
  if (answer.Error != 0) {
    result.LastError = answer.Error;
    return result;
  }
  for (const PrinterRecord& record : answer.Records) result.Needed += BytesFor(record, level);
  if (bufferSize < result.Needed) {
    result.LastError = printer_enum::kErrorInsufficientBuffer;
    kept_ = std::move(answer);
    return result;
  }
  records.insert(records.end(), answer.Records.begin(), answer.Records.end());
  result.Ok = true;
  // An empty answer to a size query also serves the fill that follows.
  if (fresh && bufferSize == 0) kept_ = std::move(answer);
  return result;
}

std::string CupsPrinterSystem::GetProfileString(const std::string& section, const std::string& key,
                                                const std::string& fallback, size_t bufferChars) {
  kept_.reset();
  if (!IsWindowsDevice(section, key)) return CutToBuffer(fallback, bufferChars);
  Destinations dests(queryTimeoutMs_);
  if (dests.Error() != 0) RaiseSystemError(dests.Error());
  const cups_dest_t* dest = dests.Default();
  return CutToBuffer(dest ? std::string(dest->name) + ",," : fallback, bufferChars);
}

void CupsPrinterSystem::WriteProfileString(const std::string& section, const std::string& key,
                                           const std::string& value) {
  kept_.reset();
  if (!IsWindowsDevice(section, key)) return;
  Destinations dests(queryTimeoutMs_);
  if (dests.Error() != 0) RaiseSystemError(dests.Error());
  std::vector<std::string> names = listedNames_;
  if (names.empty()) {
    for (const cups_dest_t& dest : dests) {
      if (dest.instance == nullptr) names.push_back(dest.name);
    }
  }
  uint32_t error = 0;
  const std::optional<std::string> name = PrinterNamed(names, value, error);
  if (!name) RaiseSystemError(error);
  // Like `lpoptions -d`: only a destination the scheduler knows can become
  // the default.
  cups_dest_t* chosen = cupsGetDest(name->c_str(), nullptr, dests.Count(), dests.Array());
  if (chosen == nullptr) RaiseSystemError(ENODEV);
  for (cups_dest_t& dest : dests) dest.is_default = &dest == chosen;
  errno = 0;
  if (cupsSetDests2(dests.Connection(), dests.Count(), dests.Array()) != 0) {
    RaiseSystemError(errno != 0 ? static_cast<uint32_t>(errno) : EIO);
  }
}

void CupsPrinterSystem::BroadcastSettingChange(const std::string& /*section*/) {}

std::string CupsPrinterSystem::SystemErrorText(uint32_t code) {
  char buffer[256] = {};
  return ErrorText(strerror_r(static_cast<int>(code), buffer, sizeof buffer), buffer);
}

void CupsPrinterSystem::RaiseSystemError(uint32_t code) {
  throw EWin32Error(code, SystemErrorText(code));
}

}  // namespace pellox
