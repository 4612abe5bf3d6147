// The printer layer: the one TPrinter of the process, which owns the printer
// list and the current printer. System-independent code only; the system is
// reached through PrinterSystem.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/printer_system.h"

namespace pellox {

struct TPrinterDevice {
  std::string DriverName;
  std::string DeviceName;
  std::string PortName;
};

struct PrinterEntry {
  std::string DisplayText;
  TPrinterDevice Device;
};

struct DeviceNames {
  std::string Device;
  std::string Driver;
  std::string Port;
};

class TPrinter {
 public:
  // Creation reads nothing from the system; no printer is current yet.
  explicit TPrinter(PrinterSystem& system) : system_(system) {}
  virtual ~TPrinter() = default;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // The installed printers, enumerated on the first call and then kept for
  // the life of the process. Any enumeration failure gives the empty list;
  // memory exhaustion discards the partial list and passes the error on, so
  // the next call builds anew.
  const std::vector<PrinterEntry>& PrinterList();

  // Makes entry `index` current, first identifying the system's default
  // printer if no printer is current yet. Raises EPrinter or EWin32Error.
  void SetCurrentPrinter(int index);
  // The current entry's names, identifying the default printer first if no
  // printer is current yet.
  DeviceNames CurrentDeviceNames();
  // Finds the system's default printer in the list (exact bytes) and makes
  // it current; raises EPrinter when none matches, EWin32Error when the
  // system cannot be asked.
  void SelectDefaultPrinter();

  // -1 until a default printer has been identified.
  int CurrentIndex() const { return currentIndex_; }

 private:
  void BuildPrinterList();
  std::string DefaultPrinterName();

  PrinterSystem& system_;
  std::optional<std::vector<PrinterEntry>> list_;
  int currentIndex_ = -1;
};

// The profile value that makes `names` the default printer: device name,
// driver name and port name, each cut to its first 80 characters, joined by
// ",".
std::string DeviceProfileValue(const DeviceNames& names);

// The ports of a port list, or the items of a profile value: each item has
// its leading blanks skipped and ends at the next comma; the walk stops at
// the first empty item.
std::vector<std::string> SplitPortList(std::string_view list);

}  // namespace pellox
