#include "platform/linux/linux_process_info.h"

#include <unistd.h>

namespace pellox {

LinuxProcessInfo::LinuxProcessInfo(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) arguments_.emplace_back(argv[i]);
}

std::string LinuxProcessInfo::ModuleFileName() {
  // readlink does not say how long the target is; grow until it fits.
  std::string buffer(256, '\0');
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::string> LinuxProcessInfo::Arguments() { return arguments_; }

std::string LinuxProcessInfo::PathSeparators() { return kPosixPathSeparators; }

}  // namespace pellox
