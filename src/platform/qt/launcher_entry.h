// The program's launcher entry on the desktop: the item of pellox.desktop
// in the taskbar or dock. Its progress bar is set with the
// com.canonical.Unity.LauncherEntry "Update" signal on the session bus,
// which KDE Plasma's task manager and the common docks show. Without a
// session bus nothing is sent, and nothing else changes.
#pragma once

#include <QVariantMap>

namespace pellox {

class LauncherEntry {
 public:
  // A progress bar filled to `fraction` (0 to 1).
  void ShowProgress(double fraction);
  // No progress bar.
  void HideProgress();

 private:
  // Sends the entry's new properties. The first call connects to the
  // session bus (Qt's shared connection); sending never waits for anyone.
  void Update(const QVariantMap& properties);
};

}  // namespace pellox
