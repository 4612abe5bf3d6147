// What every program this one starts gets from posix_spawn: no blocked
// signals and every signal at its default action, whatever this program
// blocks or ignores for itself.
#pragma once

#include <spawn.h>

namespace pellox {

class CleanSpawnAttributes {
 public:
  CleanSpawnAttributes();
  ~CleanSpawnAttributes();
  CleanSpawnAttributes(const CleanSpawnAttributes&) = delete;
  CleanSpawnAttributes& operator=(const CleanSpawnAttributes&) = delete;

  // False when the attributes could not be made; nothing should be started
  // with them then.
  bool Ready() const { return ready_; }
  const posix_spawnattr_t* Get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_{};
  bool ready_ = false;
};

}  // namespace pellox
