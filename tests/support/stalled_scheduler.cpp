#include "stalled_scheduler.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pellox::testing {

// Under /tmp whatever TMPDIR says: a socket path must stay below 108 bytes.
StalledScheduler::StalledScheduler() : folder_("/tmp", 0755), socketPath_(folder_ / "cups.sock") {
  socket_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath_.c_str(), sizeof address.sun_path - 1);
  // Connections wait in the backlog, accepted by the system and never by
  // anyone here: a client's requests go out and no answer comes back.
  if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(socket_, 128) != 0) {
    std::fprintf(stderr, "cannot listen at %s: %s\n", socketPath_.c_str(), std::strerror(errno));
    std::abort();
  }
}

StalledScheduler::~StalledScheduler() {
  close(socket_);
  unlink(socketPath_.c_str());
}

}  // namespace pellox::testing
