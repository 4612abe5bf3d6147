#include "platform/linux/posix_launcher.h"

namespace pellox {
void PosixLauncher::Open(void*, const std::string&, const std::string&) {}
}  // namespace pellox
