// The real pellox on a desktop of the test's own: an X display with a real
// EWMH window manager (openbox) and a private session bus. During an
// unattended run the taskbar lists a minimised window titled "Pellox" that
// the user can close, and the launcher entry shows the run's progress;
// without a session bus the run is unchanged and no bus gets started.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "child_process.h"
#include "desktop_fixture.h"
#include "temp_folder.h"

namespace pellox::testing {
namespace {

using Texts = std::vector<std::string>;

// The Update signals of the launcher entry that the monitor saw, in order:
// "progress <fraction>" or "no progress".
Texts ProgressUpdates(const std::string& monitored) {
  Texts updates;
  bool inUpdate = false;
  bool hidden = false;
  std::string fraction;
  const auto finish = [&] {
    if (inUpdate) updates.push_back(hidden ? "no progress" : "progress " + fraction);
  };
  std::istringstream in(monitored);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("signal ", 0) == 0) {
      finish();
      inUpdate = line.find("member=Update") != std::string::npos;
      hidden = false;
      fraction.clear();
    } else if (const size_t at = line.find("double "); at != std::string::npos) {
      fraction = line.substr(at + 7);
    } else if (line.find("boolean false") != std::string::npos) {
      hidden = true;
    }
  }
  finish();
  return updates;
}

// The window ids in an xprop listing of a WINDOW property.
Texts WindowIds(const std::string& listing) {
  Texts ids;
  const size_t hash = listing.find('#');
  if (hash == std::string::npos) return ids;
  std::istringstream in(listing.substr(hash + 1));
  for (std::string id; in >> id;) {
    if (id.back() == ',') id.pop_back();
    ids.push_back(id);
  }
  return ids;
}

class TaskbarPresenceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    desktop_ = new PrivateXDesktop;
    bus_ = new PrivateSessionBus;
    if (!desktop_->Start(startError_)) return;
    bus_->Start("com.canonical.Unity.LauncherEntry", startError_);
  }
  static void TearDownTestSuite() {
    delete bus_;
    delete desktop_;
  }

  void SetUp() override {
    ASSERT_TRUE(startError_.empty()) << startError_;
    WriteFile(folder_ / "marker", "#!/bin/sh\necho \"$1\" >> \"" + folder_ / "log" + "\"\n");
    chmod((folder_ / "marker").c_str(), 0755);
  }

  std::string Entry(int delay, const std::string& name) {
    return std::to_string(delay) + "\r\n" + folder_ / "marker" + "\r\n" + name + "\r\n";
  }
  std::string WriteList(const Texts& entries) {
    std::string text = "0\r\n" + std::to_string(entries.size()) + "\r\n";
    for (const std::string& entry : entries) text += entry;
    WriteFile(folder_ / "run.lst", text);
    return folder_ / "run.lst";
  }
  // The real program on this desktop, with `environment` on top of the
  // test's own: either "-u NAME" pairs to remove or "NAME=value" to set.
  pid_t Start(const std::string& list, const Texts& environment) {
    Texts argv{"env", "-u", "QT_QPA_PLATFORM"};
    argv.insert(argv.end(), environment.begin(), environment.end());
    argv.insert(argv.end(),
                {"DISPLAY=" + desktop_->Display(), "sh", "-c", "cd \"$0\" && exec \"$1\" \"$2\"",
                 folder_.Path(), PELLOX_BINARY, list});
    return StartCommand(argv, folder_ / "output");
  }
  Texts Started() {
    std::istringstream in(ReadFile(folder_ / "log"));
    Texts names;
    for (std::string name; std::getline(in, name);) names.push_back(name);
    return names;
  }
  // The entries started, once `count` of them have written their names, in
  // name order: entries started within a moment of each other may write in
  // either order, and may still be writing when the program has ended.
  Texts StartedOnceThere(size_t count) {
    Texts names;
    WaitUntil([&] { return (names = Started()).size() >= count; }, 10);
    std::sort(names.begin(), names.end());
    return names;
  }
  Texts Clients() { return WindowIds(desktop_->Run({"xprop", "-root", "_NET_CLIENT_LIST"})); }
  std::string Property(const std::string& window, const std::string& name) {
    return desktop_->Run({"xprop", "-id", window, name});
  }
  bool Iconic(const std::string& window) {
    return Property(window, "WM_STATE").find("window state: Iconic") != std::string::npos;
  }
  // Waits for the program's end: its exit status, or -1.
  int ExitStatus(pid_t pid) {
    const int status = WaitOrKill(pid, 60);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static PrivateXDesktop* desktop_;
  static PrivateSessionBus* bus_;
  static std::string startError_;
  TempFolder folder_;
};

PrivateXDesktop* TaskbarPresenceTest::desktop_ = nullptr;
PrivateSessionBus* TaskbarPresenceTest::bus_ = nullptr;
std::string TaskbarPresenceTest::startError_;

TEST_F(TaskbarPresenceTest, TheUnattendedRunIsAMinimisedPelloxWindowThatClosesTheProgram) {
  const size_t updatesBefore = ProgressUpdates(bus_->Monitored()).size();
  const pid_t pid = Start(WriteList({Entry(4, "A"), Entry(0, "B")}),
                          {"DBUS_SESSION_BUS_ADDRESS=" + bus_->Address()});
  ASSERT_GT(pid, 0);
  Texts clients;
  ASSERT_TRUE(WaitUntil([&] { return !(clients = Clients()).empty(); }, 30))
      << ReadFile(folder_ / "output");
  ASSERT_TRUE(Started().empty()) << "the first entry's wait was over before the checks";
  ASSERT_EQ(clients.size(), 1u);
  const std::string standIn = clients[0];
  EXPECT_NE(Property(standIn, "_NET_WM_NAME").find("= \"Pellox\""), std::string::npos);
  EXPECT_NE(Property(standIn, "_NET_WM_ICON").find("Icon ("), std::string::npos);
  EXPECT_TRUE(WaitUntil([&] { return Iconic(standIn); }, 10));
  EXPECT_NE(Property(standIn, "_NET_WM_STATE").find("_NET_WM_STATE_HIDDEN"), std::string::npos);

  // Restored from the taskbar, it goes back to minimised: nothing to act on.
  desktop_->Run({"wmctrl", "-i", "-a", standIn});
  usleep(500 * 1000);
  EXPECT_TRUE(WaitUntil([&] { return Iconic(standIn); }, 10));
  EXPECT_EQ(Clients(), Texts{standIn});

  // Its Close (_NET_CLOSE_WINDOW to the window manager) ends the program
  // once the run has started the remaining entries.
  desktop_->Run({"wmctrl", "-i", "-c", standIn});
  EXPECT_EQ(ExitStatus(pid), 0) << ReadFile(folder_ / "output");
  EXPECT_EQ(StartedOnceThere(2), (Texts{"A", "B"}));
  Texts updates;
  EXPECT_TRUE(WaitUntil(
      [&] {
        updates = ProgressUpdates(bus_->Monitored());
        updates.erase(updates.begin(), updates.begin() + static_cast<ptrdiff_t>(updatesBefore));
        return updates.size() >= 3;
      },
      10));
  EXPECT_EQ(updates, (Texts{"progress 0.5", "progress 1", "no progress"}));
}

// No session bus at all: the run and its exit are as ever, there is no
// progress, and libdbus does not start a bus of its own for the display.
TEST_F(TaskbarPresenceTest, WithoutASessionBusTheRunIsUnchangedAndNoBusIsStarted) {
  const pid_t pid = Start(WriteList({Entry(0, "A"), Entry(1, "B")}),
                          {"-u", "DBUS_SESSION_BUS_ADDRESS", "-u", "XDG_RUNTIME_DIR"});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(ExitStatus(pid), 0) << ReadFile(folder_ / "output");
  EXPECT_EQ(StartedOnceThere(2), (Texts{"A", "B"}));
  EXPECT_FALSE(ProcessRunsOnDisplay("dbus-launch", desktop_->Display()));
  EXPECT_FALSE(ProcessRunsOnDisplay("/usr/bin/dbus-daemon", desktop_->Display()));
}

}  // namespace
}  // namespace pellox::testing
