// A private CUPS scheduler for the printer tests: its own configuration,
// spool and socket in a temp folder, started and stopped by the tests, so
// neither the machine's printers nor its defaults are touched.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace pellox::testing {

class PrivateCupsScheduler {
 public:
  PrivateCupsScheduler();
  // Stops the scheduler if it still runs.
  ~PrivateCupsScheduler();
  PrivateCupsScheduler(const PrivateCupsScheduler&) = delete;
  PrivateCupsScheduler& operator=(const PrivateCupsScheduler&) = delete;

  // Writes the configuration, starts cupsd in the foreground and waits (at
  // most 20 s) until `lpstat -r` reaches it. False with `error` telling why.
  bool Start(std::string& error);

  // Points this process's CUPS clients (and the commands it runs) at the
  // scheduler: CUPS_SERVER is the socket; CUPS_SERVERROOT and HOME are temp
  // folders, so user defaults go to a temp lpoptions; LPDEST and PRINTER
  // are removed. The old values come back with RestoreClientEnvironment.
  void UseAsClientEnvironment();
  void RestoreClientEnvironment();

  // Start, UseAsClientEnvironment and AddPrinter for each of `printers`, in
  // that order; false with `error` at the first step that fails.
  bool StartWithPrinters(const std::vector<std::string>& printers, std::string& error);

  // `lpadmin -p name -E -v file:///dev/null`; false with `error` on failure.
  bool AddPrinter(const std::string& name, std::string& error);

  // How many requests for IPP `operation` ("CUPS-Get-Printers") the
  // scheduler has logged so far.
  int RequestCount(const std::string& operation) const;

  // Removes the user defaults and instances that tests wrote.
  void ForgetUserOptions();

  // Brings the running scheduler to a clean state for the next test: the
  // client environment set again, no user defaults or instances, no server
  // default, and exactly `printers` as its queues (those already there and
  // wanted stay). False with `error` at the first step that fails.
  bool Reset(const std::vector<std::string>& printers, std::string& error);

  // Sends SIGTERM to the started cupsd and reaps it (SIGKILL after 10 s).
  void Stop();

  const std::string& SocketPath() const { return socketPath_; }
  const std::string& Folder() const { return folder_.Path(); }

 private:
  void ApplyClientEnvironment();
  bool WriteConfiguration(std::string& error);
  bool WaitUntilRunning(std::string& error);

  TempFolder folder_;
  std::string socketPath_;
  pid_t pid_ = -1;
  std::vector<std::pair<std::string, std::unique_ptr<std::string>>> savedEnvironment_;
};

// The test program's one scheduler: started at the first call, with its
// client environment set from then on, and stopped when the program ends
// (starting cupsd takes seconds, resetting it a few commands). Each call
// resets it for the calling test (see Reset). Null with `error` when the
// scheduler cannot be started or reset; a failed start is not retried.
PrivateCupsScheduler* SharedCupsScheduler(const std::vector<std::string>& printers,
                                          std::string& error);

// Whether the user opted out of the CUPS tests with PELLOX_NO_CUPS=1.
bool CupsTestsDisabled();

}  // namespace pellox::testing
