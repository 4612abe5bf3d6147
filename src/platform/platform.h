// Everything of the operating system that the core uses, one interface per
// concern. System-independent code only.
#pragma once

#include "platform/block_memory.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/launcher.h"
#include "platform/message_pump.h"
#include "platform/printer_system.h"
#include "platform/process_info.h"
#include "platform/run_progress.h"

namespace pellox {

struct Platform {
  TickClock& Clock;
  MessagePump& Pump;
  Launcher& Launch;
  PrinterSystem& Printers;
  FileSystem& Files;
  ProcessInfo& Process;
  RunProgress& Progress;
  BlockMemory& Memory = HeapBlocks();
};

}  // namespace pellox
