// The session bus this process may use (the launcher-entry progress, and
// Qt's own look for a global menu).
#pragma once

namespace pellox {

// Without a session bus address, libdbus starts a bus of its own
// (dbus-launch, under X11) the first time anyone asks for the session bus:
// a daemon left running after the program. Where the environment gives no
// address and the desktop has no bus at its usual place
// ($XDG_RUNTIME_DIR/bus), this gives the process an address that fails at
// once: no session bus, and nothing else changes. Call it before the
// QApplication is made; started programs get the environment from before.
void PreventSessionBusAutolaunch();

}  // namespace pellox
