// The default-printer switch at the start of every run: the chosen printer
// is written to the profile as the system's default and the change is
// broadcast. It is never undone.
#include <string>

#include "window/form1.h"

namespace pellox {

void TForm1::SwitchDefaultPrinter() {
  const int choice = ui_.ItemIndex();
  if (choice <= 0) return;
  TPrinter& printer = application_.SharedPrinter();
  printer.SetCurrentPrinter(choice - 1);
  const std::string value = DeviceProfileValue(printer.CurrentDeviceNames());
  platform_.Printers.WriteProfileString("windows", "device", value);
  platform_.Printers.BroadcastSettingChange("windows");
}

}  // namespace pellox
