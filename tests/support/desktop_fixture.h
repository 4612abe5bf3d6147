// Private desktop services for the tests that meet a real one: an X display
// of the test's own (Xvfb) with a real EWMH window manager (openbox), a
// private session bus (dbus-daemon) with a monitor of its signals, and a
// headless Wayland compositor (weston). Each is started by the test, runs
// in a temp folder of its own, and is stopped by the pid it was started
// with; nothing of the machine's own display or session is touched.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "temp_folder.h"

namespace pellox::testing {

// A child process started for a test and stopped (SIGTERM, then SIGKILL
// after 10 s) when the owner goes.
class Service {
 public:
  Service() = default;
  ~Service() { Stop(); }
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  // Starts `argv` with its output going to `outputPath`; false when it
  // cannot be started.
  bool Start(const std::vector<std::string>& argv, const std::string& outputPath);
  void Stop();
  bool Running() const;

 private:
  pid_t pid_ = -1;
};

// Xvfb on a display number it picks itself, and openbox managing it.
class PrivateXDesktop {
 public:
  // Starts both and waits (at most 20 s) until the window manager has
  // announced itself on the root window. False with `error` telling why.
  bool Start(std::string& error);
  // The DISPLAY value (":N").
  const std::string& Display() const { return display_; }
  // An X tool (xprop, wmctrl, ...) run on this display; its output.
  std::string Run(const std::vector<std::string>& argv) const;

 private:
  TempFolder folder_;
  Service server_;
  Service windowManager_;
  std::string display_;
};

// A session bus of its own, and dbus-monitor on it noting every signal of
// one interface.
class PrivateSessionBus {
 public:
  // Starts the bus and the monitor and waits (at most 20 s) until the
  // monitor listens. False with `error` telling why.
  bool Start(const std::string& monitoredInterface, std::string& error);
  // The DBUS_SESSION_BUS_ADDRESS value.
  const std::string& Address() const { return address_; }
  // Everything the monitor printed so far.
  std::string Monitored() const;

 private:
  TempFolder folder_;
  Service bus_;
  Service monitor_;
  std::string address_;
};

// weston with its headless back end, its socket in a runtime folder of its
// own.
class PrivateWeston {
 public:
  // Starts it and waits (at most 20 s) for its socket. False with `error`.
  bool Start(std::string& error);
  // The XDG_RUNTIME_DIR and WAYLAND_DISPLAY values for its clients.
  const std::string& RuntimeDir() const { return folder_.Path(); }
  const std::string& SocketName() const { return socketName_; }

 private:
  TempFolder folder_;
  Service compositor_;
  std::string socketName_ = "wayland-pellox-test";
};

// Whether a process of this user whose command line starts with `program`
// runs with DISPLAY set to `display`.
bool ProcessRunsOnDisplay(const std::string& program, const std::string& display);

}  // namespace pellox::testing
