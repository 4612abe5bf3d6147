#include "platform/linux/cups_printer_system.h"

#include <strings.h>

#include <cerrno>
#include <cstring>

#include "common/errors.h"
#include "common/text.h"
#include "platform/linux/bounded_child.h"
#include "platform/linux/linux_process_info.h"
#include "printers/printer.h"

namespace pellox {
namespace {

using Clock = std::chrono::steady_clock;

// A size query and its fill come right after each other; an answer older
// than this is asked for again.
constexpr auto kKeptAnswerLifetime = std::chrono::seconds(5);

// The helper connects within the question's time less this, which leaves
// it the time to tell that the scheduler could not be reached.
constexpr int kReportMarginMs = 300;

// The record sizes of the Windows enumeration this stands in for: the
// fixed part of PRINTER_INFO_4 (name, server, attributes) or PRINTER_INFO_5
// (name, port list, attributes, two time-outs), then the strings.
constexpr uint32_t kFixedBytesLevel4 = 3 * sizeof(void*);
constexpr uint32_t kFixedBytesLevel5 = 5 * sizeof(void*);

PrinterRecord RecordFor(const CupsDestination& destination, int level) {
  PrinterRecord record{destination.Name, std::nullopt};
  if (level == printer_level::kNameAndPorts) record.PortList = destination.DeviceUri;
  return record;
}

// The default destination (lpoptions, LPDEST, PRINTER or the scheduler's),
// or null.
const CupsDestination* DefaultOf(const CupsAnswer& answer) {
  for (const CupsDestination& destination : answer.Destinations) {
    if (destination.Default) return &destination;
  }
  return nullptr;
}

// The printers among the destinations: instances left out.
std::vector<std::string> PrinterNames(const CupsAnswer& answer) {
  std::vector<std::string> names;
  for (const CupsDestination& destination : answer.Destinations) {
    if (!destination.Instance) names.push_back(destination.Name);
  }
  return names;
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

CupsPrinterSystem::CupsPrinterSystem(std::string helper, int queryTimeoutMs)
    : helper_(std::move(helper)), queryTimeoutMs_(queryTimeoutMs) {}

uint32_t CupsPrinterSystem::PlatformId() { return platform_id::kWin32Nt; }

CupsAnswer CupsPrinterSystem::AskHelper(const std::vector<std::string>& question) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(queryTimeoutMs_);
  std::vector<std::string> arguments{
      std::to_string(std::max(queryTimeoutMs_ - kReportMarginMs, queryTimeoutMs_ / 2))};
  arguments.insert(arguments.end(), question.begin(), question.end());
  BoundedOutput output = RunBounded(helper_, arguments, deadline, kMaxAnswerBytes, reaper_);
  CupsAnswer failed;
  switch (output.How) {
    case BoundedOutput::End::NotStarted:
      failed.Error = static_cast<uint32_t>(output.Error);
      return failed;
    case BoundedOutput::End::Finished:
      if (std::optional<CupsAnswer> answer = DecodeCupsAnswer(output.Output)) return *answer;
      break;
    case BoundedOutput::End::TimedOut:
    case BoundedOutput::End::TooLong:
      break;
  }
  // No whole answer within the time and the size: as for a scheduler that
  // does not answer at all.
  failed.Error = ETIMEDOUT;
  return failed;
}

CupsPrinterSystem::Answer CupsPrinterSystem::Ask(uint32_t flags, int level) {
  Answer answer{flags, level, Clock::now(), 0, {}};
  const CupsAnswer cups = AskHelper({"list"});
  answer.Error = cups.Error;
  if (answer.Error != 0) return answer;
  if (flags & printer_enum::kDefault) {
    if (const CupsDestination* destination = DefaultOf(cups))
      answer.Records.push_back(RecordFor(*destination, level));
    return answer;
  }
  listedNames_.clear();
  for (const CupsDestination& destination : cups.Destinations) {
    if (destination.Instance) continue;
    answer.Records.push_back(RecordFor(destination, level));
    listedNames_.push_back(destination.Name);
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
  const CupsAnswer cups = AskHelper({"list"});
  if (cups.Error != 0) RaiseSystemError(cups.Error);
  const CupsDestination* destination = DefaultOf(cups);
  return CutToBuffer(destination ? destination->Name + ",," : fallback, bufferChars);
}

void CupsPrinterSystem::WriteProfileString(const std::string& section, const std::string& key,
                                           const std::string& value) {
  kept_.reset();
  if (!IsWindowsDevice(section, key)) return;
  std::vector<std::string> names = listedNames_;
  if (names.empty()) {
    const CupsAnswer cups = AskHelper({"list"});
    if (cups.Error != 0) RaiseSystemError(cups.Error);
    names = PrinterNames(cups);
  }
  uint32_t error = 0;
  const std::optional<std::string> name = PrinterNamed(names, value, error);
  if (!name) RaiseSystemError(error);
  const CupsAnswer made = AskHelper({"default", *name});
  if (made.Error != 0) RaiseSystemError(made.Error);
}

void CupsPrinterSystem::BroadcastSettingChange(const std::string& /*section*/) {}

std::string CupsPrinterSystem::SystemErrorText(uint32_t code) {
  char buffer[256] = {};
  return ErrorText(strerror_r(static_cast<int>(code), buffer, sizeof buffer), buffer);
}

void CupsPrinterSystem::RaiseSystemError(uint32_t code) {
  throw EWin32Error(code, SystemErrorText(code));
}

std::string CupsHelperBeside(const std::string& programPath, const std::string& helperFolder) {
  const std::string folder = FolderPart(programPath, kPosixPathSeparators);
  if (folder.empty()) return {};
  return folder + helperFolder + "/pellox-cups";
}

}  // namespace pellox
