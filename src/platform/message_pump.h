// The window-message queue of the user-interface thread. System-independent
// interface; the front ends implement it.
#pragma once

#include <cstdint>

namespace pellox {

class MessagePump {
 public:
  static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

  virtual ~MessagePump() = default;

  // Handles every message already queued, dispatching each to its target so
  // that its handler runs inside this call, and returns when the queue is
  // empty; never blocks. A quit request found in the queue is taken out and
  // does not stop the processing. Returns true when it took out a quit
  // request. Never fails.
  virtual bool ProcessPendingMessages() = 0;

  // Blocks until a message is waiting or `timeoutMs` milliseconds have
  // passed (kInfinite: no limit); handles nothing itself. May return early.
  // Never fails.
  virtual void WaitForMessage(uint32_t timeoutMs) = 0;

  // Queues a quit request (the main window was closed). Never fails.
  virtual void PostQuit() = 0;
};

}  // namespace pellox
