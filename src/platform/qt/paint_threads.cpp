#include "platform/qt/paint_threads.h"

#include <QSemaphore>
#include <QThreadPool>
#include <algorithm>
#include <memory>

namespace pellox {
namespace {

constexpr int kStartTimeoutMs = 5000;

}  // namespace

void StartPaintThreads() {
  QThreadPool* pool = QThreadPool::globalInstance();
  // A thread that has once started waits for the next task instead of
  // ending after half a minute idle: no thread is made again later.
  pool->setExpiryTimeout(-1);
  pool->setMaxThreadCount(std::min(pool->maxThreadCount(), kMaxPaintThreads));
  const int count = pool->maxThreadCount();
  // Each task holds its thread until every task runs, so the pool has to
  // start one thread per task. The semaphores outlive this call for tasks
  // that a failed thread leaves queued.
  auto started = std::make_shared<QSemaphore>();
  auto release = std::make_shared<QSemaphore>();
  for (int i = 0; i < count; ++i) {
    pool->start([started, release] {
      started->release();
      release->acquire();
    });
  }
  (void)started->tryAcquire(count, kStartTimeoutMs);
  release->release(count);
}

}  // namespace pellox
