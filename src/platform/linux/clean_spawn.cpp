#include "platform/linux/clean_spawn.h"

#include <signal.h>

namespace pellox {

CleanSpawnAttributes::CleanSpawnAttributes() {
  if (posix_spawnattr_init(&attributes_) != 0) return;
  ready_ = true;
  sigset_t noSignals;
  sigset_t allSignals;
  sigemptyset(&noSignals);
  sigfillset(&allSignals);
  posix_spawnattr_setsigmask(&attributes_, &noSignals);
  posix_spawnattr_setsigdefault(&attributes_, &allSignals);
  posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

CleanSpawnAttributes::~CleanSpawnAttributes() {
  if (ready_) posix_spawnattr_destroy(&attributes_);
}

}  // namespace pellox
