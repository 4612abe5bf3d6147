#include "platform/linux/cups_questions.h"

#include <cups/cups.h>

#include <cerrno>

namespace pellox {
namespace {

// The destinations from one question to the scheduler, on a connection of
// its own, freed with the object.
class Destinations {
 public:
  explicit Destinations(int connectTimeoutMs) {
    // cupsServer() sets the port that ippPort() reports (CUPS_SERVER may say
    // host:port), so it is asked first.
    const std::string server = cupsServer();
    const int port = ippPort();
    http_ = httpConnect2(server.c_str(), port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         connectTimeoutMs, nullptr);
    if (http_ == nullptr) {
      // libcups reports every failed connection as "host is down".
      error_ = EHOSTDOWN;
      return;
    }
    count_ = cupsGetDests2(http_, &dests_);
    // No destinations and a failed connection: the scheduler did not answer
    // (an answer of "no printers" leaves the connection without an error).
    if (count_ == 0 && httpError(http_) != 0) error_ = static_cast<uint32_t>(httpError(http_));
  }
  ~Destinations() {
    cupsFreeDests(count_, dests_);
    if (http_) httpClose(http_);
  }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  uint32_t Error() const { return error_; }
  http_t* Connection() const { return http_; }
  cups_dest_t* begin() const { return dests_; }
  cups_dest_t* end() const { return dests_ + count_; }
  int Count() const { return count_; }

 private:
  http_t* http_ = nullptr;
  cups_dest_t* dests_ = nullptr;
  int count_ = 0;
  uint32_t error_ = 0;
};

}  // namespace

CupsAnswer ListCupsDestinations(int connectTimeoutMs) {
  CupsAnswer answer;
  Destinations dests(connectTimeoutMs);
  answer.Error = dests.Error();
  if (answer.Error != 0) return answer;
  for (const cups_dest_t& dest : dests) {
    CupsDestination destination{dest.name, dest.instance != nullptr, dest.is_default != 0,
                                std::nullopt};
    if (const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options))
      destination.DeviceUri = uri;
    answer.Destinations.push_back(std::move(destination));
  }
  return answer;
}

CupsAnswer MakeCupsDefault(const std::string& name, int connectTimeoutMs) {
  CupsAnswer answer;
  Destinations dests(connectTimeoutMs);
  answer.Error = dests.Error();
  if (answer.Error != 0) return answer;
  // Like `lpoptions -d`: only a destination the scheduler knows can become
  // the default.
  cups_dest_t* chosen = cupsGetDest(name.c_str(), nullptr, dests.Count(), dests.begin());
  if (chosen == nullptr) {
    answer.Error = ENODEV;
    return answer;
  }
  for (cups_dest_t& dest : dests) dest.is_default = &dest == chosen;
  errno = 0;
  if (cupsSetDests2(dests.Connection(), dests.Count(), dests.begin()) != 0)
    answer.Error = errno != 0 ? static_cast<uint32_t>(errno) : EIO;
  return answer;
}

}  // namespace pellox
