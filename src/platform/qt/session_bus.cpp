#include "platform/qt/session_bus.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QtGlobal>

namespace pellox {

void PreventSessionBusAutolaunch() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return;
  const QByteArray runtimeDir = qgetenv("XDG_RUNTIME_DIR");
  struct stat bus {};
  if (!runtimeDir.isEmpty() && stat((runtimeDir + "/bus").constData(), &bus) == 0 &&
      S_ISSOCK(bus.st_mode)) {
    return;  // libdbus finds that bus by itself
  }
  qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

}  // namespace pellox
