#include "platform/windows/win32_tick_clock.h"

#include "platform/windows/win32_api.h"

namespace pellox::win32 {

uint32_t Win32TickClock::TickCount() { return GetTickCount(); }

}  // namespace pellox::win32
