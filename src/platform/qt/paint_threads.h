// Qt's raster painting hands large fills, image conversions and scaling to
// the global thread pool and waits for them. Under a process limit (which
// the programs a run starts can reach) a pool thread that cannot be created
// leaves its task queued for ever, and the paint that waits for it never
// ends. The pool is therefore given all its threads at start-up, while a
// thread can still be made, and keeps them for the program's life.
#pragma once

namespace pellox {

// At most this many threads paint beside the window's own.
constexpr int kMaxPaintThreads = 4;

// Starts the pool's threads (at most kMaxPaintThreads) and makes them stay.
// Call it once, after the QApplication and before any program is started.
// Waits a few seconds at most: when the limit is reached before the program
// began, a thread that could not be made stays missing, and painting may
// wait for it as it would without this call.
void StartPaintThreads();

}  // namespace pellox
