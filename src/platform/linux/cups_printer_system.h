// Printers, the default printer and the profile through CUPS.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/child_reaper.h"
#include "platform/linux/cups_answer.h"
#include "platform/printer_system.h"

namespace pellox {

// Reports the CUPS destinations as printers and keeps the default printer
// as the user's CUPS default destination (the one `lpoptions -d` sets).
//
// Every question to the scheduler is asked by the helper program
// pellox-cups in a process of its own, on a connection of its own, and ends
// within `queryTimeoutMs` whatever the scheduler (or the name service, or
// the network) does: libcups bounds each wait for data but not the whole
// answer, so a scheduler that sends one byte at a time, or an endless
// answer, would hold the program for ever and fill its memory. The helper
// is ended at the deadline and at most kMaxAnswerBytes of its answer are
// read. A scheduler that is not there is a failure with code EHOSTDOWN;
// one that gives no complete answer in time is ETIMEDOUT.
class CupsPrinterSystem : public PrinterSystem {
 public:
  static constexpr int kQueryTimeoutMs = 3000;
  // Thousands of printers take a small part of this.
  static constexpr size_t kMaxAnswerBytes = size_t{4} << 20;

  // `helper`: the path of pellox-cups (CupsHelperBeside finds it for an
  // installed or built program).
  explicit CupsPrinterSystem(std::string helper, int queryTimeoutMs = kQueryTimeoutMs);

  // Always platform_id::kWin32Nt: one enumeration per printer name.
  uint32_t PlatformId() override;

  // kDefault: the default destination only (or none); other flags: every
  // destination without its instances, in the order CUPS reports them.
  // With `bufferSize` below Needed: Ok false, LastError
  // kErrorInsufficientBuffer, `records` untouched. A scheduler that cannot
  // be reached: Ok false, Needed 0, LastError the errno value.
  // One question serves a size query and the fill that follows it: the
  // answer is kept for the next call with the same flags and level (for a
  // few seconds at most); any other call drops it.
  EnumPrintersResult EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                  std::vector<PrinterRecord>& records) override;

  // [windows] device: "<default destination>,," or `fallback` when there is
  // no default; other keys give `fallback`. Cut to `bufferChars` - 1 bytes.
  // Raises EWin32Error when the scheduler cannot be reached.
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& fallback, size_t bufferChars) override;

  // [windows] device: makes the printer that `value` was built from (its
  // name cut to 80 characters, then ",,", as DeviceProfileValue builds it)
  // the user's default destination. The printer is looked for among the
  // full names of the last list enumeration (or of the scheduler's list when
  // there was none), so a name with a comma or of more than 80 characters
  // is switched as it is. Raises EWin32Error instead of switching another
  // printer: ENODEV when no printer matches, ENOTUNIQ when several do; and
  // when the scheduler cannot be reached or the default cannot be stored.
  // Other sections and keys are ignored.
  void WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value) override;

  // Nothing to tell on Linux: every CUPS client reads the default anew.
  void BroadcastSettingChange(const std::string& section) override;

  // The C library's text for `code` taken as an errno value.
  std::string SystemErrorText(uint32_t code) override;

 private:
  struct Answer {
    uint32_t Flags = 0;
    int Level = 0;
    std::chrono::steady_clock::time_point At;
    uint32_t Error = 0;  // errno value; 0: the scheduler answered
    std::vector<PrinterRecord> Records;
  };

  Answer Ask(uint32_t flags, int level);
  // Runs the helper on one question: its answer, or the errno value of a
  // question that got none.
  CupsAnswer AskHelper(const std::vector<std::string>& question);
  [[noreturn]] void RaiseSystemError(uint32_t code);

  std::string helper_;
  int queryTimeoutMs_;
  ChildReaper reaper_;
  std::optional<Answer> kept_;
  std::vector<std::string> listedNames_;
};

// Where pellox-cups lies for the program at `programPath`: in
// `helperFolder` (relative to the program's folder, as installed and as
// built), or "" when `programPath` has no folder.
std::string CupsHelperBeside(const std::string& programPath, const std::string& helperFolder);

}  // namespace pellox
