#include "window/application.h"

namespace pellox {

void TApplication::ProcessMessages() {
  if (platform_.Pump.ProcessPendingMessages()) terminated_ = true;
}

void TApplication::Run() {
  for (;;) {
    ProcessMessages();
    if (terminated_) return;
    platform_.Pump.WaitForMessage(MessagePump::kInfinite);
  }
}

TPrinter& TApplication::SharedPrinter() {
  if (!printer_) printer_ = std::make_unique<TPrinter>(platform_.Printers);
  return *printer_;
}

}  // namespace pellox
