#include "faulty_scheduler.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pellox::testing {
namespace {

constexpr int kTrickleStepMs = 300;
// Large values make each attribute cost the client a large allocation.
constexpr size_t kFloodValueBytes = 32000;
constexpr int kFloodAttributesPerChunk = 32;

// One IPP attribute: value tag, name, value (lengths as two bytes each).
std::string Attribute(char tag, const std::string& name, const std::string& value) {
  std::string out(1, tag);
  for (const std::string* part : {&name, &value}) {
    out += static_cast<char>((part->size() >> 8) & 0xFF);
    out += static_cast<char>(part->size() & 0xFF);
    out += *part;
  }
  return out;
}

std::string Chunk(const std::string& data) {
  char size[32];
  std::snprintf(size, sizeof size, "%zx\r\n", data.size());
  return size + data + "\r\n";
}

// The start of a successful answer to CUPS-Get-Printers, then its first
// printer's group.
std::string FloodStart() {
  std::string ipp("\x02\x00\x00\x00\x00\x00\x00\x01\x01", 9);
  ipp += Attribute('\x47', "attributes-charset", "utf-8");
  ipp += Attribute('\x48', "attributes-natural-language", "en");
  ipp += '\x04';
  ipp += Attribute('\x42', "printer-name", "Flood");
  return "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\n"
         "Transfer-Encoding: chunked\r\n\r\n" +
         Chunk(ipp);
}

// More attributes of the same printer, without end.
std::string FloodChunk() {
  std::string attributes;
  for (int i = 0; i < kFloodAttributesPerChunk; ++i)
    attributes += Attribute('\x41', "printer-info", std::string(kFloodValueBytes, 'f'));
  return Chunk(attributes);
}

}  // namespace

// Under /tmp whatever TMPDIR says: a socket path must stay below 108 bytes.
FaultyScheduler::FaultyScheduler(Fault fault)
    : fault_(fault),
      folder_("/tmp", 0755),
      socketPath_(folder_ / "cups.sock"),
      stop_(eventfd(0, EFD_CLOEXEC)) {
  socket_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath_.c_str(), sizeof address.sun_path - 1);
  if (stop_ < 0 || socket_ < 0 ||
      bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(socket_, 128) != 0) {
    std::fprintf(stderr, "cannot listen at %s: %s\n", socketPath_.c_str(), std::strerror(errno));
    std::abort();
  }
  // A silent scheduler's connections wait in the backlog, accepted by the
  // system and never by anyone here: a client's requests go out and no
  // answer comes back.
  if (fault_ != Fault::Silent) acceptor_ = std::thread([this] { Accept(); });
}

FaultyScheduler::~FaultyScheduler() {
  const uint64_t one = 1;
  if (write(stop_, &one, sizeof one) < 0) std::perror("stopping the faulty scheduler");
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& answer : answers_) answer.join();
  close(socket_);
  close(stop_);
  unlink(socketPath_.c_str());
}

// Sends all of `bytes` unless the client goes away or the scheduler stops
// first; a client that reads nothing holds it only until then.
bool FaultyScheduler::Send(int client, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    pollfd fds[2] = {{stop_, POLLIN, 0}, {client, POLLOUT, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return false;
    if (fds[0].revents) return false;
    if (!fds[1].revents) continue;
    const ssize_t result =
        send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (result < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (result <= 0) return false;
    sent += static_cast<size_t>(result);
  }
  return true;
}

// True once the scheduler stops; waits up to `waitMs` for that.
bool FaultyScheduler::Stopping(int waitMs) {
  pollfd stop{stop_, POLLIN, 0};
  return poll(&stop, 1, waitMs) > 0;
}

void FaultyScheduler::Accept() {
  for (;;) {
    pollfd fds[2] = {{stop_, POLLIN, 0}, {socket_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[0].revents) return;
    if (!fds[1].revents) continue;
    const int client = accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.emplace_back([this, client] {
      Answer(client);
      close(client);
    });
  }
}

// Sends until the client goes away or the scheduler stops. The client's
// request is never read: the answer does not depend on it.
void FaultyScheduler::Answer(int client) {
  if (fault_ == Fault::Trickle) {
    if (!Send(client, "HTTP/1.1 200 OK\r\n")) return;
    while (!Stopping(kTrickleStepMs)) {
      if (!Send(client, "X")) return;
    }
    return;
  }
  if (!Send(client, FloodStart())) return;
  const std::string chunk = FloodChunk();
  while (!Stopping(0)) {
    if (!Send(client, chunk)) return;
  }
}

}  // namespace pellox::testing
