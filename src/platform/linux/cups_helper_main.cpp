// pellox-cups: asks the CUPS scheduler one question for Pellox and writes
// the answer (cups_answer.h) to standard output. Pellox starts it for every
// question and ends it at the question's deadline, so that no scheduler,
// name server or network can hold the program up, and it limits what it
// reads of the answer; the helper limits its own memory, so that a
// scheduler that floods it cannot take the machine's.
//
//   pellox-cups CONNECT_TIMEOUT_MS list
//   pellox-cups CONNECT_TIMEOUT_MS default NAME
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/linux/cups_answer.h"
#include "platform/linux/cups_questions.h"

namespace {

// Far above what the longest printer list takes, far below what a flood
// could take of the machine.
constexpr rlim_t kMaxDataBytes = rlim_t{128} << 20;

// AddressSanitizer's shadow memory counts as data: under it, no limit.
#if defined(__SANITIZE_ADDRESS__)
#define PELLOX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELLOX_ADDRESS_SANITIZER 1
#endif
#endif

void LimitMemory() {
#ifndef PELLOX_ADDRESS_SANITIZER
  const rlimit limit{kMaxDataBytes, kMaxDataBytes};
  setrlimit(RLIMIT_DATA, &limit);
#endif
}

// Ends the helper soon after its question's deadline even when nobody is
// left to end it.
void EndAfter(int timeoutMs) { alarm(static_cast<unsigned>(timeoutMs / 1000 + 2)); }

bool WriteAll(const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t result = write(STDOUT_FILENO, bytes.data() + written, bytes.size() - written);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) return false;
    written += static_cast<size_t>(result);
  }
  return true;
}

int Usage() {
  std::fputs("usage: pellox-cups CONNECT_TIMEOUT_MS list | ... default NAME\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const int timeoutMs = std::atoi(argv[1]);
  const std::string_view question = argv[2];
  if (timeoutMs <= 0) return Usage();
  LimitMemory();
  EndAfter(timeoutMs);
  pellox::CupsAnswer answer;
  if (question == "list" && argc == 3) {
    answer = pellox::ListCupsDestinations(timeoutMs);
  } else if (question == "default" && argc == 4) {
    answer = pellox::MakeCupsDefault(argv[3], timeoutMs);
  } else {
    return Usage();
  }
  // Without the exit handlers: libcups and its libraries have nothing left
  // to do that the program waits for.
  _exit(WriteAll(pellox::EncodeCupsAnswer(answer)) ? 0 : 1);
}
