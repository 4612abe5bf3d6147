// The default-printer switch at the start of every run: the chosen printer
// is written to the profile as the system's default and the change is
// broadcast. It is never undone.
#include <string>

#include "window/form1.h"

namespace pellox {

namespace {

constexpr size_t kDeviceNameField = 80;

std::string Field(const std::string& name) { return name.substr(0, kDeviceNameField); }

}  // namespace

void TForm1::SwitchDefaultPrinter() {
  const int k = ui_.ItemIndex();
  if (k <= 0) return;
  TPrinter& printer = application_.SharedPrinter();
  printer.SetCurrentPrinter(k - 1);
  const DeviceNames names = printer.CurrentDeviceNames();
  const std::string value =
      Field(names.Device) + "," + Field(names.Driver) + "," + Field(names.Port);
  platform_.Printers.WriteProfileString("windows", "device", value);
  platform_.Printers.BroadcastSettingChange("windows");
}

}  // namespace pellox
