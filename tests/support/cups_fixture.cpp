#include "cups_fixture.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "child_process.h"

extern char** environ;

namespace pellox::testing {
namespace {

constexpr const char* kClientVariables[] = {"CUPS_SERVER", "CUPS_SERVERROOT", "HOME", "LPDEST",
                                            "PRINTER"};

// The socket lives under /tmp whatever TMPDIR says: a Unix socket path must
// stay below 108 bytes.
constexpr const char* kSocketBase = "/tmp";

std::string LogTail(const std::string& path) {
  std::string log = ReadFile(path);
  return log.size() > 2000 ? log.substr(log.size() - 2000) : log;
}

// An enforced AppArmor profile for cupsd keeps it out of a temp folder.
std::string AppArmorHint() {
  std::string profiles = ReadFile("/sys/kernel/security/apparmor/profiles");
  if (profiles.find("/usr/sbin/cupsd (enforce)") == std::string::npos) return "";
  return "\nAppArmor enforces its cupsd profile here, which denies the temp folder; "
         "`aa-complain /usr/sbin/cupsd` lets the private scheduler run.";
}

}  // namespace

bool CupsTestsDisabled() {
  const char* value = std::getenv("PELLOX_NO_CUPS");
  return value && std::strcmp(value, "1") == 0;
}

PrivateCupsScheduler::PrivateCupsScheduler() : folder_(kSocketBase, 0755) {
  socketPath_ = folder_ / "cups.sock";
}

PrivateCupsScheduler::~PrivateCupsScheduler() { Stop(); }

bool PrivateCupsScheduler::WriteConfiguration(std::string& error) {
  const bool root = geteuid() == 0;
  for (const char* sub : {"spool", "spool/tmp", "cache", "state", "log", "client", "home"}) {
    if (mkdir((folder_ / sub).c_str(), 0755) != 0) {
      error = "cannot create " + (folder_ / sub) + ": " + std::strerror(errno);
      return false;
    }
  }
  if (root) {
    // The scheduler's helpers run as lp and must write where it spools.
    const passwd* lp = getpwnam("lp");
    const group* lpGroup = getgrnam("lp");
    if (lp == nullptr || lpGroup == nullptr) {
      error = "there is no user or group lp for the scheduler to run its helpers as";
      return false;
    }
    for (const char* sub : {"spool", "spool/tmp", "cache", "state", "log"}) {
      if (chown((folder_ / sub).c_str(), lp->pw_uid, lpGroup->gr_gid) != 0) {
        error = "cannot hand " + (folder_ / sub) + " to lp: " + std::strerror(errno);
        return false;
      }
    }
  }
  const group* own = getgrgid(getegid());
  WriteFile(folder_ / "cupsd.conf",
            "Listen " + socketPath_ +
                "\n"
                "WebInterface No\nBrowsing No\nLogLevel warn\nAccessLogLevel all\n"
                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n");
  std::string files = "ServerRoot " + folder_.Path() + "\nRequestRoot " + (folder_ / "spool") +
                      "\nTempDir " + (folder_ / "spool/tmp") + "\nCacheDir " + (folder_ / "cache") +
                      "\nStateDir " + (folder_ / "state") + "\nErrorLog " +
                      (folder_ / "log/error_log") + "\nAccessLog " + (folder_ / "log/access_log") +
                      "\nPageLog " + (folder_ / "log/page_log") + "\nFileDevice Yes\n";
  // cupsd refuses to run its helpers as root.
  if (root) files += "User lp\nGroup lp\n";
  if (own) files += std::string("SystemGroup ") + own->gr_name + "\n";
  WriteFile(folder_ / "cups-files.conf", files);
  return true;
}

bool PrivateCupsScheduler::Start(std::string& error) {
  if (access("/usr/sbin/cupsd", X_OK) != 0) {
    error = "/usr/sbin/cupsd is missing (install the cups-daemon package)";
    return false;
  }
  if (!WriteConfiguration(error)) return false;

  const std::string output = folder_ / "log/cupsd.out";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  const std::string conf = folder_ / "cupsd.conf";
  const std::string filesConf = folder_ / "cups-files.conf";
  std::vector<std::string> words = {"/usr/sbin/cupsd", "-f", "-c", conf, "-s", filesConf};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int result = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) {
    pid_ = -1;
    error = std::string("cannot start cupsd: ") + std::strerror(result);
    return false;
  }
  return WaitUntilRunning(error);
}

bool PrivateCupsScheduler::WaitUntilRunning(std::string& error) {
  const char* oldServer = std::getenv("CUPS_SERVER");
  const std::string saved = oldServer ? oldServer : "";
  setenv("CUPS_SERVER", socketPath_.c_str(), 1);
  bool exited = false;
  bool running = WaitUntil(
      [&] {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
          exited = true;
          pid_ = -1;
          return true;
        }
        CommandResult lpstat = RunCommand({"lpstat", "-r"}, 5);
        return lpstat.ExitStatus == 0 && lpstat.Output.find("not running") == std::string::npos;
      },
      20);
  if (oldServer) {
    setenv("CUPS_SERVER", saved.c_str(), 1);
  } else {
    unsetenv("CUPS_SERVER");
  }
  if (running && !exited) return true;
  error = std::string(exited ? "cupsd exited at start" : "cupsd did not answer within 20 s") +
          "; its output:\n" + LogTail(folder_ / "log/cupsd.out") + "\nerror_log:\n" +
          LogTail(folder_ / "log/error_log") + AppArmorHint();
  return false;
}

void PrivateCupsScheduler::UseAsClientEnvironment() {
  savedEnvironment_.clear();
  for (const char* name : kClientVariables) {
    const char* value = std::getenv(name);
    savedEnvironment_.emplace_back(name, value ? std::make_unique<std::string>(value) : nullptr);
  }
  ApplyClientEnvironment();
}

void PrivateCupsScheduler::ApplyClientEnvironment() {
  setenv("CUPS_SERVER", socketPath_.c_str(), 1);
  setenv("CUPS_SERVERROOT", (folder_ / "client").c_str(), 1);
  setenv("HOME", (folder_ / "home").c_str(), 1);
  unsetenv("LPDEST");
  unsetenv("PRINTER");
  // libcups keeps the server it found first; make it look again.
  cupsSetServer(nullptr);
}

void PrivateCupsScheduler::RestoreClientEnvironment() {
  for (const auto& [name, value] : savedEnvironment_) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
  savedEnvironment_.clear();
  cupsSetServer(nullptr);
}

bool PrivateCupsScheduler::StartWithPrinters(const std::vector<std::string>& printers,
                                             std::string& error) {
  if (!Start(error)) return false;
  UseAsClientEnvironment();
  for (const std::string& name : printers) {
    if (!AddPrinter(name, error)) return false;
  }
  return true;
}

bool PrivateCupsScheduler::AddPrinter(const std::string& name, std::string& error) {
  CommandResult result = RunCommand({"lpadmin", "-p", name, "-E", "-v", "file:///dev/null"});
  if (result.ExitStatus == 0) return true;
  error = "lpadmin -p " + name + " failed: " + result.Output;
  return false;
}

int PrivateCupsScheduler::RequestCount(const std::string& operation) const {
  // Each line of the access log ends with the operation and its status.
  const std::string log = ReadFile(folder_ / "log/access_log");
  const std::string needle = " " + operation + " ";
  int count = 0;
  for (size_t at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1)) {
    ++count;
  }
  return count;
}

void PrivateCupsScheduler::ForgetUserOptions() {
  // Root keeps them under CUPS_SERVERROOT, other users under HOME.
  std::remove((folder_ / "client/lpoptions").c_str());
  std::remove((folder_ / "home/.cups/lpoptions").c_str());
}

bool PrivateCupsScheduler::Reset(const std::vector<std::string>& printers, std::string& error) {
  ApplyClientEnvironment();
  ForgetUserOptions();
  // With the user defaults gone, `lpstat -d` reports the server default;
  // deleting a queue clears the default it holds.
  const std::string defaultPrefix = "system default destination: ";
  const std::string shownDefault = RunCommand({"lpstat", "-d"}).Output;
  std::string serverDefault;
  if (shownDefault.rfind(defaultPrefix, 0) == 0) {
    serverDefault = shownDefault.substr(defaultPrefix.size());
    serverDefault = serverDefault.substr(0, serverDefault.find('\n'));
  }
  std::vector<std::string> kept;
  // `lpstat -e` fails when there is no queue at all.
  const CommandResult listed = RunCommand({"lpstat", "-e"});
  std::istringstream queues(listed.ExitStatus == 0 ? listed.Output : "");
  for (std::string name; std::getline(queues, name);) {
    if (name.empty() || name.find('/') != std::string::npos) continue;
    const bool wanted = std::find(printers.begin(), printers.end(), name) != printers.end();
    if (wanted && name != serverDefault) {
      kept.push_back(name);
      continue;
    }
    CommandResult removed = RunCommand({"lpadmin", "-x", name});
    if (removed.ExitStatus != 0) {
      error = "lpadmin -x " + name + " failed: " + removed.Output;
      return false;
    }
  }
  for (const std::string& name : printers) {
    if (std::find(kept.begin(), kept.end(), name) != kept.end()) continue;
    if (!AddPrinter(name, error)) return false;
  }
  return true;
}

PrivateCupsScheduler* SharedCupsScheduler(const std::vector<std::string>& printers,
                                          std::string& error) {
  // Destroyed at the program's end, which stops cupsd.
  static PrivateCupsScheduler scheduler;
  static std::string startError;
  static const bool started = [] {
    if (!scheduler.Start(startError)) return false;
    scheduler.UseAsClientEnvironment();
    return true;
  }();
  if (!started) {
    error = startError;
    return nullptr;
  }
  return scheduler.Reset(printers, error) ? &scheduler : nullptr;
}

void PrivateCupsScheduler::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  WaitOrKill(pid_, 10);
  pid_ = -1;
}

}  // namespace pellox::testing
