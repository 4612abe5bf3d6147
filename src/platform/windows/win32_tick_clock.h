// The millisecond tick counter on Windows.
#pragma once

#include "platform/clock.h"

namespace pellox::win32 {

// GetTickCount: milliseconds since the system started, wrapping after
// about 49.7 days like the interface promises.
class Win32TickClock : public TickClock {
 public:
  uint32_t TickCount() override;
};

}  // namespace pellox::win32
