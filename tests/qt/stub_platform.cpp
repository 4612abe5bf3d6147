#include "stub_platform.h"

#include "common/errors.h"

namespace pellox::test {

namespace {

constexpr int kFileNotFound = 2;
constexpr int kAccessDenied = 5;

}  // namespace

EnumPrintersResult StubPrinters::EnumPrinters(uint32_t flags, int, uint32_t bufferSize,
                                              std::vector<PrinterRecord>& records) {
  std::vector<std::string> names =
      flags == printer_enum::kDefault
          ? std::vector<std::string>(names_.begin(), names_.begin() + (names_.empty() ? 0 : 1))
          : names_;
  uint32_t needed = 0;
  for (const std::string& name : names) needed += static_cast<uint32_t>(name.size() + 1);
  if (names.empty()) return {true, 0, 0};
  if (bufferSize < needed) return {false, needed, printer_enum::kErrorInsufficientBuffer};
  for (const std::string& name : names) records.push_back({name, std::nullopt});
  return {true, needed, 0};
}

std::unique_ptr<File> StubFiles::OpenForReading(const std::string&) {
  throw EInOutError(kFileNotFound);
}

std::unique_ptr<FileReplacement> StubFiles::Replace(const std::string&) {
  throw EInOutError(kAccessDenied);
}

}  // namespace pellox::test
