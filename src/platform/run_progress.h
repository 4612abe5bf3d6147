// The progress of a run where the desktop shows it: on the program's
// taskbar button or launcher entry. System-independent interface; the core
// decides the figures, the front ends only show them.
#pragma once

#include <cstdint>

namespace pellox {

class RunProgress {
 public:
  virtual ~RunProgress() = default;

  // Shows that entry `entry` of `count` is in hand (waiting for its delay
  // or just started), 1 <= entry <= count, replacing whatever was shown.
  // Never fails: where the desktop cannot show it, nothing happens, and
  // nothing else of the program changes.
  virtual void Show(int32_t entry, int32_t count) = 0;

  // Takes the progress away: no run is in progress. Never fails; allowed
  // when nothing is shown.
  virtual void Clear() = 0;
};

}  // namespace pellox
