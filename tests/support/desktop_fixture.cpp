#include "desktop_fixture.h"

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "child_process.h"

namespace pellox::testing {

namespace {

constexpr int kStartSeconds = 20;

// The first whole line of `text` that `wanted` accepts; empty when none
// (the tools may print warnings around what the test reads).
template <typename Accept>
std::string LineWhere(const std::string& text, Accept wanted) {
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    if (wanted(line)) return line;
  }
  return "";
}

std::string DisplayNumberIn(const std::string& text) {
  return LineWhere(text, [](const std::string& line) {
    return !line.empty() && line.find_first_not_of("0123456789") == std::string::npos;
  });
}

std::string BusAddressIn(const std::string& text) {
  return LineWhere(text, [](const std::string& line) { return line.rfind("unix:", 0) == 0; });
}

}  // namespace

bool Service::Start(const std::vector<std::string>& argv, const std::string& outputPath) {
  Stop();
  pid_ = StartCommand(argv, outputPath);
  return pid_ > 0;
}

void Service::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  WaitOrKill(pid_, 10);
  pid_ = -1;
}

bool Service::Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

bool PrivateXDesktop::Start(std::string& error) {
  // -displayfd: the server takes a free display number and writes it out.
  const std::string serverOutput = folder_ / "xvfb";
  if (!server_.Start({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                      "-noreset"},
                     serverOutput)) {
    error = "Xvfb did not start";
    return false;
  }
  if (!WaitUntil([&] { return !DisplayNumberIn(ReadFile(serverOutput)).empty(); }, kStartSeconds)) {
    error = "Xvfb gave no display number: " + ReadFile(serverOutput);
    return false;
  }
  display_ = ":" + DisplayNumberIn(ReadFile(serverOutput));
  if (!windowManager_.Start({"env", "DISPLAY=" + display_, "openbox", "--sm-disable"},
                            folder_ / "openbox")) {
    error = "openbox did not start";
    return false;
  }
  if (!WaitUntil(
          [&] {
            return Run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
                   std::string::npos;
          },
          kStartSeconds)) {
    error = "openbox did not take the display: " + ReadFile(folder_ / "openbox");
    return false;
  }
  return true;
}

std::string PrivateXDesktop::Run(const std::vector<std::string>& argv) const {
  std::vector<std::string> command{"env", "DISPLAY=" + display_};
  command.insert(command.end(), argv.begin(), argv.end());
  return RunCommand(command, 10).Output;
}

bool PrivateSessionBus::Start(const std::string& monitoredInterface, std::string& error) {
  const std::string busOutput = folder_ / "bus";
  if (!bus_.Start({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, busOutput)) {
    error = "dbus-daemon did not start";
    return false;
  }
  if (!WaitUntil([&] { return !BusAddressIn(ReadFile(busOutput)).empty(); }, kStartSeconds)) {
    error = "dbus-daemon gave no address: " + ReadFile(busOutput);
    return false;
  }
  address_ = BusAddressIn(ReadFile(busOutput));
  if (!monitor_.Start({"env", "DBUS_SESSION_BUS_ADDRESS=" + address_, "dbus-monitor",
                       "type='signal',interface='" + monitoredInterface + "'"},
                      folder_ / "monitor")) {
    error = "dbus-monitor did not start";
    return false;
  }
  // It reports its own name first, once it listens.
  if (!WaitUntil([&] { return Monitored().find("NameAcquired") != std::string::npos; },
                 kStartSeconds)) {
    error = "dbus-monitor does not listen: " + Monitored();
    return false;
  }
  return true;
}

std::string PrivateSessionBus::Monitored() const { return ReadFile(folder_ / "monitor"); }

bool PrivateWeston::Start(std::string& error) {
  if (!compositor_.Start(
          {"env", "XDG_RUNTIME_DIR=" + folder_.Path(), "weston", "--backend=headless-backend.so",
           "--socket=" + socketName_, "--idle-time=0"},
          folder_ / "weston.log")) {
    error = "weston did not start";
    return false;
  }
  if (!WaitUntil([&] { return Exists(folder_ / socketName_) && compositor_.Running(); },
                 kStartSeconds)) {
    error = "weston made no socket: " + ReadFile(folder_ / "weston.log");
    return false;
  }
  return true;
}

bool ProcessRunsOnDisplay(const std::string& program, const std::string& display) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string commandLine = ReadFile(entry.path() / "cmdline");
    if (commandLine.rfind(program, 0) != 0) continue;
    const std::string environment = ReadFile(entry.path() / "environ");
    const std::string wanted = std::string("DISPLAY=") + display;
    size_t at = 0;
    while ((at = environment.find(wanted, at)) != std::string::npos) {
      const bool starts = at == 0 || environment[at - 1] == '\0';
      const size_t end = at + wanted.size();
      if (starts && (end == environment.size() || environment[end] == '\0')) return true;
      at = end;
    }
  }
  return false;
}

}  // namespace pellox::testing
