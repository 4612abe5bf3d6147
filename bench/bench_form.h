// A TForm1 on the fake toolkit whose clock, message pump, launcher and files
// the benchmark chooses (real ones where the figure depends on them); the
// printers, profile and command line stay fakes.
#pragma once

#include "form_harness.h"

namespace pellox::bench {

struct BenchForm : testing::FormHarness {
  BenchForm(TickClock& realClock, MessagePump& realPump, Launcher& realLauncher,
            FileSystem& realFiles)
      : FormHarness({.clock = &realClock,
                     .pump = &realPump,
                     .launcher = &realLauncher,
                     .files = &realFiles}) {
    Show();
  }
};

}  // namespace pellox::bench
