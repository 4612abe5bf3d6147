// The CUPS printer layer against the program's private scheduler, started
// once and reset for each test (see cups_fixture.h). Needs root on a
// machine with cupsd; with PELLOX_NO_CUPS=1 the tests are skipped instead
// of failing.
#include "platform/linux/cups_printer_system.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "common/errors.h"
#include "cups_fixture.h"
#include "faulty_scheduler.h"
#include "printers/printer.h"

namespace pellox::testing {
namespace {

constexpr uint32_t kListFlags = printer_enum::kLocal | printer_enum::kConnections;

std::vector<std::string> Names(const std::vector<PrinterRecord>& records) {
  std::vector<std::string> names;
  for (const PrinterRecord& record : records) names.push_back(record.Name);
  return names;
}

// What `lpstat -d` reports as the default, or "" for none.
std::string LpstatDefault() {
  const std::string prefix = "system default destination: ";
  std::string output = RunCommand({"lpstat", "-d"}).Output;
  size_t at = output.find(prefix);
  if (at == std::string::npos) return "";
  std::string name = output.substr(at + prefix.size());
  return name.substr(0, name.find('\n'));
}

// The destinations in the order `lpstat -e` lists them, instances left out.
std::vector<std::string> LpstatDestinations() {
  std::istringstream lines(RunCommand({"lpstat", "-e"}).Output);
  std::vector<std::string> names;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.find('/') == std::string::npos) names.push_back(line);
  }
  return names;
}

class CupsPrinterSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::CupsTestsDisabled()) GTEST_SKIP() << "PELLOX_NO_CUPS=1: CUPS tests skipped";
    std::string error;
    scheduler_ = SharedCupsScheduler({"Beta", "Alpha"}, error);
    ASSERT_NE(scheduler_, nullptr)
        << "the private CUPS scheduler could not be set up (run as root with the cups, "
           "cups-client and cups-daemon packages; PELLOX_NO_CUPS=1 skips these tests): "
        << error;
  }

  // The size-then-fill protocol as the printer list uses it.
  std::vector<PrinterRecord> Enumerate(uint32_t flags, int level) {
    std::vector<PrinterRecord> records;
    EnumPrintersResult size = printers_.EnumPrinters(flags, level, 0, records);
    if (size.Needed == 0) {
      EXPECT_TRUE(size.Ok);
      return records;
    }
    EXPECT_FALSE(size.Ok);
    EXPECT_EQ(size.LastError, printer_enum::kErrorInsufficientBuffer);
    EXPECT_TRUE(records.empty());
    EnumPrintersResult fill = printers_.EnumPrinters(flags, level, size.Needed, records);
    EXPECT_TRUE(fill.Ok);
    EXPECT_EQ(fill.Needed, size.Needed);
    return records;
  }

  // The requests for printers logged so far, once the access log has
  // stayed the same for half a second: the scheduler writes it behind.
  int SettledRequestCount() {
    int last = -1;
    for (int round = 0; round < 40; ++round) {
      const int count = scheduler_->RequestCount("CUPS-Get-Printers");
      if (count == last) break;
      last = count;
      usleep(500 * 1000);
    }
    return last;
  }

  PrivateCupsScheduler* scheduler_ = nullptr;
  CupsPrinterSystem printers_{PELLOX_CUPS_HELPER};
};

// One entry per printer, shown by its name, with no port.
TEST_F(CupsPrinterSystemTest, ListsThePerPrinterVariant) {
  TPrinter printer(printers_);
  std::vector<std::string> shown;
  for (const PrinterEntry& entry : printer.PrinterList()) {
    shown.push_back(entry.DisplayText);
    EXPECT_EQ(entry.Device.DeviceName, entry.DisplayText);
    EXPECT_EQ(entry.Device.PortName, "") << entry.DisplayText;
  }
  EXPECT_EQ(shown, LpstatDestinations());
}

TEST_F(CupsPrinterSystemTest, EnumeratesEveryPrinterInCupsOrderWithSizeThenFill) {
  std::vector<PrinterRecord> records;
  EnumPrintersResult size = printers_.EnumPrinters(kListFlags, 4, 0, records);
  EXPECT_FALSE(size.Ok);
  EXPECT_EQ(size.LastError, printer_enum::kErrorInsufficientBuffer);
  EXPECT_GT(size.Needed, 0u);
  EXPECT_TRUE(records.empty());

  EnumPrintersResult fill = printers_.EnumPrinters(kListFlags, 4, size.Needed, records);
  EXPECT_TRUE(fill.Ok);
  const std::vector<std::string> expected = LpstatDestinations();
  EXPECT_EQ(expected.size(), 2u);
  EXPECT_EQ(Names(records), expected);
  std::vector<std::string> sorted = Names(records);
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<std::string>{"Alpha", "Beta"}));
}

TEST_F(CupsPrinterSystemTest, InstancesAreLeftOut) {
  ASSERT_EQ(RunCommand({"lpoptions", "-p", "Alpha/draft", "-o", "copies=2"}).ExitStatus, 0);
  std::vector<std::string> names = Names(Enumerate(kListFlags, 4));
  EXPECT_EQ(names, LpstatDestinations());
  EXPECT_EQ(names.size(), 2u);
}

TEST_F(CupsPrinterSystemTest, WithoutADefaultThereIsNoDefaultRecord) {
  ASSERT_EQ(LpstatDefault(), "");
  EXPECT_TRUE(Enumerate(printer_enum::kDefault, 5).empty());
  EXPECT_EQ(printers_.GetProfileString("windows", "device", "fallback,,", 79), "fallback,,");
}

TEST_F(CupsPrinterSystemTest, WritingTheDeviceMakesThePrinterTheDefault) {
  printers_.WriteProfileString("windows", "device", "Beta,,");
  EXPECT_EQ(LpstatDefault(), "Beta");
  EXPECT_EQ(Names(Enumerate(printer_enum::kDefault, 5)), (std::vector<std::string>{"Beta"}));
  EXPECT_EQ(printers_.GetProfileString("windows", "device", "", 79), "Beta,,");

  printers_.WriteProfileString("windows", "device", "Alpha,,");
  EXPECT_EQ(LpstatDefault(), "Alpha");
  EXPECT_EQ(printers_.GetProfileString("windows", "device", "", 79), "Alpha,,");
}

// The program reads the profile into 79 characters: at most 78 of a long
// printer name come back.
TEST_F(CupsPrinterSystemTest, ProfileReadIsCutToTheBuffer) {
  const std::string name(100, 'p');
  std::string error;
  ASSERT_NE(SharedCupsScheduler({"Beta", name}, error), nullptr) << error;
  // As the switch writes it: the name cut to 80 characters.
  printers_.WriteProfileString("windows", "device", name.substr(0, 80) + ",,");
  EXPECT_EQ(printers_.GetProfileString("windows", "device", "", 79), name.substr(0, 78));
}

TEST_F(CupsPrinterSystemTest, OtherProfileEntriesAreNotThePrinter) {
  printers_.WriteProfileString("windows", "device", "Beta,,");
  printers_.WriteProfileString("windows", "other", "Alpha,,");
  printers_.WriteProfileString("devices", "device", "Alpha,,");
  EXPECT_EQ(LpstatDefault(), "Beta");
  EXPECT_EQ(printers_.GetProfileString("windows", "other", "dflt", 79), "dflt");
  EXPECT_EQ(printers_.GetProfileString("intl", "device", "dflt", 79), "dflt");
}

TEST_F(CupsPrinterSystemTest, AValueOfNoListedPrinterIsAnErrorAndChangesNothing) {
  printers_.WriteProfileString("windows", "device", "Beta,,");
  for (const char* value : {"NoSuchPrinter,,", "Beta", "Beta,,port", "beta,,"}) {
    try {
      printers_.WriteProfileString("windows", "device", value);
      ADD_FAILURE() << value << ": no error";
    } catch (const EWin32Error& error) {
      EXPECT_EQ(error.ErrorCode(), static_cast<uint32_t>(ENODEV)) << value;
    }
    EXPECT_EQ(LpstatDefault(), "Beta") << value;
  }
}

TEST_F(CupsPrinterSystemTest, OneQuestionServesTheSizeQueryAndTheFill) {
  printers_.WriteProfileString("windows", "device", "Alpha,,");
  const struct {
    const char* Label;
    std::function<void()> Enumeration;
  } cases[] = {
      {"the printer list", [this] { EXPECT_EQ(TPrinter(printers_).PrinterList().size(), 2u); }},
      {"the default printer",
       [this] {
         EXPECT_EQ(Names(Enumerate(printer_enum::kDefault, 5)),
                   (std::vector<std::string>{"Alpha"}));
       }},
  };
  for (const auto& c : cases) {
    // Each question to the scheduler asks for its printers once.
    const int before = SettledRequestCount();
    c.Enumeration();
    EXPECT_EQ(SettledRequestCount(), before + 1) << c.Label;
  }
}

TEST_F(CupsPrinterSystemTest, ThePrinterLayerSwitchesThroughCups) {
  printers_.WriteProfileString("windows", "device", "Alpha,,");
  TPrinter printer(printers_);
  const std::vector<PrinterEntry>& list = printer.PrinterList();
  ASSERT_EQ(list.size(), 2u);
  size_t beta = list[0].Device.DeviceName == "Beta" ? 0 : 1;
  printer.SetCurrentPrinter(static_cast<int>(beta));
  DeviceNames names = printer.CurrentDeviceNames();
  EXPECT_EQ(names.Device, "Beta");
}

TEST_F(CupsPrinterSystemTest, SystemErrorTextIsTheCLibrarysText) {
  EXPECT_EQ(printers_.SystemErrorText(2), std::string(std::strerror(2)));
  EXPECT_FALSE(printers_.SystemErrorText(122).empty());
}

// A scheduler that answers with no printers at all: no printers, and no
// error either.
TEST(EmptyCupsTest, NoPrintersIsNoFailure) {
  if (testing::CupsTestsDisabled()) GTEST_SKIP() << "PELLOX_NO_CUPS=1";
  std::string error;
  ASSERT_NE(SharedCupsScheduler({}, error), nullptr) << error;
  CupsPrinterSystem printers{PELLOX_CUPS_HELPER};
  for (uint32_t flags : {kListFlags, printer_enum::kDefault}) {
    std::vector<PrinterRecord> records;
    EnumPrintersResult result =
        printers.EnumPrinters(flags, flags == kListFlags ? 4 : 5, 0, records);
    EXPECT_TRUE(result.Ok) << flags;
    EXPECT_EQ(result.Needed, 0u) << flags;
    EXPECT_TRUE(records.empty()) << flags;
  }
  EXPECT_EQ(printers.GetProfileString("windows", "device", "none", 79), "none");
}

// A scheduler that cannot be reached, or does not answer: every question
// fails within seconds with the system's error, and the printer layer
// reports it as such instead of "no default printer".
class UnreachableCupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"CUPS_SERVER", "LPDEST", "PRINTER", "HOME", "CUPS_SERVERROOT"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("HOME", folder_.Path().c_str(), 1);
    setenv("CUPS_SERVERROOT", folder_.Path().c_str(), 1);
    unsetenv("LPDEST");
    unsetenv("PRINTER");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    cupsSetServer(nullptr);
  }

  void UseServer(const std::string& socket) {
    setenv("CUPS_SERVER", socket.c_str(), 1);
    cupsSetServer(nullptr);
  }

  struct Server {
    const char* Label;
    std::string Socket;
    uint32_t Error;  // the errno value every question fails with
    std::unique_ptr<CupsPrinterSystem> Printers;
  };
  // Each question that meets a faulty scheduler runs into its deadline: a
  // shorter one than the program's keeps these tests short.
  std::vector<Server> Servers() {
    std::vector<Server> servers;
    const auto add = [&](const char* label, const std::string& socket, uint32_t error,
                         int timeoutMs) {
      servers.push_back({label, socket, error,
                         std::make_unique<CupsPrinterSystem>(PELLOX_CUPS_HELPER, timeoutMs)});
    };
    add("no scheduler", folder_ / "missing.sock", EHOSTDOWN, CupsPrinterSystem::kQueryTimeoutMs);
    add("a stalled scheduler", stalled_.SocketPath(), ETIMEDOUT, kFaultyTimeoutMs);
    add("a trickling scheduler", trickling_.SocketPath(), ETIMEDOUT, kFaultyTimeoutMs);
    add("a flooding scheduler", flooding_.SocketPath(), ETIMEDOUT, kFaultyTimeoutMs);
    return servers;
  }
  static constexpr int kFaultyTimeoutMs = 1000;

  static int64_t SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() -
                                                            start)
        .count();
  }

  // Far below the minutes that libcups waits by itself, far above the few
  // seconds a question may take here, so a loaded machine does not matter.
  static constexpr int64_t kBoundSeconds = 30;

  testing::TempFolder folder_;
  testing::FaultyScheduler stalled_{testing::FaultyScheduler::Fault::Silent};
  testing::FaultyScheduler trickling_{testing::FaultyScheduler::Fault::Trickle};
  testing::FaultyScheduler flooding_{testing::FaultyScheduler::Fault::Flood};
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(UnreachableCupsTest, EnumerationFailsWithTheSystemsError) {
  for (const Server& server : Servers()) {
    UseServer(server.Socket);
    for (uint32_t flags : {kListFlags, printer_enum::kDefault}) {
      std::vector<PrinterRecord> records;
      const auto start = std::chrono::steady_clock::now();
      EnumPrintersResult result =
          server.Printers->EnumPrinters(flags, flags == kListFlags ? 4 : 5, 0, records);
      EXPECT_LT(SecondsSince(start), kBoundSeconds) << server.Label << ", flags " << flags;
      EXPECT_FALSE(result.Ok) << server.Label << ", flags " << flags;
      EXPECT_EQ(result.Needed, 0u) << server.Label << ", flags " << flags;
      EXPECT_EQ(result.LastError, server.Error) << server.Label << ", flags " << flags;
      EXPECT_TRUE(records.empty()) << server.Label << ", flags " << flags;
    }
  }
}

TEST_F(UnreachableCupsTest, TheProfileCannotBeReadOrWritten) {
  for (const Server& server : Servers()) {
    UseServer(server.Socket);
    for (bool write : {false, true}) {
      try {
        if (write) {
          server.Printers->WriteProfileString("windows", "device", "Beta,,");
        } else {
          server.Printers->GetProfileString("windows", "device", "none", 79);
        }
        ADD_FAILURE() << server.Label << ": no error";
      } catch (const EWin32Error& error) {
        EXPECT_EQ(error.ErrorCode(), server.Error) << server.Label;
      }
    }
    EXPECT_FALSE(testing::Exists(folder_ / ".cups/lpoptions"));
    EXPECT_FALSE(testing::Exists(folder_ / "lpoptions"));
  }
}

// Start-up builds the printer list; a run with a printer chosen first
// identifies the default printer.
TEST_F(UnreachableCupsTest, StartUpAndTheDefaultPrinterTakeSecondsAndTellTheTruth) {
  for (const Server& server : Servers()) {
    UseServer(server.Socket);
    TPrinter printer(*server.Printers);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(printer.PrinterList().empty()) << server.Label;
    const int64_t startUp = SecondsSince(start);
    start = std::chrono::steady_clock::now();
    try {
      printer.SelectDefaultPrinter();
      ADD_FAILURE() << server.Label << ": no error";
    } catch (const EWin32Error& error) {
      EXPECT_EQ(error.Message(), "Win32 エラー。コード : " + std::to_string(server.Error) + ".\n" +
                                     std::strerror(static_cast<int>(server.Error)))
          << server.Label;
    }
    const int64_t identify = SecondsSince(start);
    std::cout << server.Label << ": printer list " << startUp << " s, default printer " << identify
              << " s\n";
    EXPECT_LT(startUp, kBoundSeconds) << server.Label;
    EXPECT_LT(identify, kBoundSeconds) << server.Label;
  }
}

}  // namespace
}  // namespace pellox::testing
