#include "platform/qt/launcher_entry.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace pellox {

namespace {

// The desktop file the entry belongs to, and the signal's sender path (any
// path will do; the listeners go by the desktop file).
const char* const kApplicationUri = "application://pellox.desktop";
const char* const kPath = "/com/canonical/unity/launcherentry/pellox";
const char* const kInterface = "com.canonical.Unity.LauncherEntry";

}  // namespace

void LauncherEntry::ShowProgress(double fraction) {
  Update({{QStringLiteral("progress"), fraction}, {QStringLiteral("progress-visible"), true}});
}

void LauncherEntry::HideProgress() { Update({{QStringLiteral("progress-visible"), false}}); }

void LauncherEntry::Update(const QVariantMap& properties) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(kPath), QLatin1String(kInterface),
                                                   QStringLiteral("Update"));
  signal << QString::fromLatin1(kApplicationUri) << properties;
  bus.send(signal);
}

}  // namespace pellox
