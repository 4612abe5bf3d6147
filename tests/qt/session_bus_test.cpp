// Which session bus address the process keeps: only a process with no bus
// at all gets the address that fails, so that libdbus starts none.
#include "platform/qt/session_bus.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "temp_folder.h"

namespace pellox::testing {
namespace {

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

void SetVariable(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

// A listening Unix socket at `path`, as a session bus has; -1 on failure.
int ListenAt(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 1) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

TEST(SessionBusTest, OnlyAProcessWithoutAnyBusGetsAnAddressThatFails) {
  const std::optional<std::string> savedAddress = Variable("DBUS_SESSION_BUS_ADDRESS");
  const std::optional<std::string> savedRuntime = Variable("XDG_RUNTIME_DIR");
  TempFolder withBus;
  TempFolder withoutBus;
  const int bus = ListenAt(withBus / "bus");
  ASSERT_GE(bus, 0);
  const struct {
    const char* Label;
    std::optional<std::string> Address;
    std::optional<std::string> RuntimeDir;
    std::optional<std::string> Expected;
  } cases[] = {
      {"an address given", "unix:path=/run/x", std::nullopt, "unix:path=/run/x"},
      {"no address, no runtime folder", std::nullopt, std::nullopt, "disabled:"},
      {"an empty address", "", withoutBus.Path(), "disabled:"},
      {"no address, no bus in the runtime folder", std::nullopt, withoutBus.Path(), "disabled:"},
      {"no address, the desktop's bus in the runtime folder", std::nullopt, withBus.Path(),
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    SetVariable("DBUS_SESSION_BUS_ADDRESS", c.Address);
    SetVariable("XDG_RUNTIME_DIR", c.RuntimeDir);
    PreventSessionBusAutolaunch();
    EXPECT_EQ(Variable("DBUS_SESSION_BUS_ADDRESS"), c.Expected);
  }
  close(bus);
  SetVariable("DBUS_SESSION_BUS_ADDRESS", savedAddress);
  SetVariable("XDG_RUNTIME_DIR", savedRuntime);
}

}  // namespace
}  // namespace pellox::testing
