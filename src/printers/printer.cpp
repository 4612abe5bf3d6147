#include "printers/printer.h"

#include <new>

#include "common/errors.h"

namespace pellox {

namespace {

// Each part of the device entry is cut to this many characters: the device,
// driver and port names are handed over in fields of 80 characters each, and
// nothing beyond them is written.
constexpr size_t kDeviceNameField = 80;
// The device entry is read into a buffer of 79 characters, the terminating
// zero among them, so at most 78 characters of it are read.
constexpr size_t kDeviceEntryBuffer = 79;

std::string CutToNameField(const std::string& name) { return name.substr(0, kDeviceNameField); }

}  // namespace

std::string DeviceProfileValue(const DeviceNames& names) {
  return CutToNameField(names.Device) + "," + CutToNameField(names.Driver) + "," +
         CutToNameField(names.Port);
}

std::vector<std::string> SplitPortList(std::string_view list) {
  std::vector<std::string> items;
  size_t pos = 0;
  for (;;) {
    while (pos < list.size() && list[pos] == ' ') ++pos;
    size_t comma = list.find(',', pos);
    size_t end = comma == std::string_view::npos ? list.size() : comma;
    if (end == pos) break;
    items.emplace_back(list.substr(pos, end - pos));
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  return items;
}

const std::vector<PrinterEntry>& TPrinter::PrinterList() {
  if (!list_) {
    try {
      BuildPrinterList();
    } catch (const std::bad_alloc&) {
      list_.reset();
      throw;
    }
  }
  return *list_;
}

void TPrinter::BuildPrinterList() {
  list_.emplace();
  const bool nt = system_.PlatformId() == platform_id::kWin32Nt;
  const uint32_t flags =
      nt ? printer_enum::kLocal | printer_enum::kConnections : printer_enum::kLocal;
  const int level = nt ? printer_level::kName : printer_level::kNameAndPorts;

  std::vector<PrinterRecord> records;
  const EnumPrintersResult size = system_.EnumPrinters(flags, level, 0, records);
  if (size.Needed == 0) return;
  records.clear();
  if (!system_.EnumPrinters(flags, level, size.Needed, records).Ok) return;

  for (const PrinterRecord& record : records) {
    if (nt) {
      list_->push_back({record.Name, {"", record.Name, ""}});
      continue;
    }
    for (std::string& port : SplitPortList(record.PortList.value_or(""))) {
      list_->push_back({record.Name + ". " + port, {"", record.Name, port}});
    }
  }
}

std::string TPrinter::DefaultPrinterName() {
  std::vector<PrinterRecord> records;
  const EnumPrintersResult size =
      system_.EnumPrinters(printer_enum::kDefault, printer_level::kNameAndPorts, 0, records);
  if (!size.Ok && size.LastError != printer_enum::kErrorInsufficientBuffer) {
    throw EWin32Error(size.LastError, system_.SystemErrorText(size.LastError));
  }
  records.clear();
  system_.EnumPrinters(printer_enum::kDefault, printer_level::kNameAndPorts, size.Needed, records);
  if (!records.empty()) return records.front().Name;

  std::vector<std::string> items =
      SplitPortList(system_.GetProfileString("windows", "device", "", kDeviceEntryBuffer));
  return items.empty() ? std::string() : items.front();
}

void TPrinter::SelectDefaultPrinter() {
  const std::string name = DefaultPrinterName();
  const std::vector<PrinterEntry>& list = PrinterList();
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].Device.DeviceName == name) {
      currentIndex_ = static_cast<int>(i);
      return;
    }
  }
  throw EPrinter(messages::kNoDefaultPrinter);
}

void TPrinter::SetCurrentPrinter(int index) {
  if (currentIndex_ == -1) SelectDefaultPrinter();
  if (index < 0 || static_cast<size_t>(index) >= PrinterList().size()) {
    throw EPrinter(messages::kPrinterIndexOutOfRange);
  }
  currentIndex_ = index;
}

DeviceNames TPrinter::CurrentDeviceNames() {
  if (currentIndex_ == -1) SelectDefaultPrinter();
  const TPrinterDevice& device = PrinterList()[static_cast<size_t>(currentIndex_)].Device;
  return {device.DeviceName, device.DriverName, device.PortName};
}

}  // namespace pellox
