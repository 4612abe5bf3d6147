// Win32PrinterSystem: the profile under Wine's registry, the broadcast, the
// version query and the system's error texts.
#include "platform/windows/win32_printer_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/errors.h"
#include "platform/windows/last_error.h"
#include "printers/printer.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

using win32::ThrowLastWin32Error;
using win32::Win32PrinterSystem;

class Win32PrinterSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = printers_.GetProfileString("windows", "device", "", 1024); }
  void TearDown() override { printers_.WriteProfileString("windows", "device", saved_); }

  Win32PrinterSystem printers_;
  std::string saved_;
};

TEST_F(Win32PrinterSystemTest, DeviceValueRoundTripsThroughTheProfile) {
  printers_.WriteProfileString("windows", "device", "Pellox Laser,,");
  EXPECT_EQ("Pellox Laser,,", printers_.GetProfileString("windows", "device", "", 79));
  printers_.WriteProfileString("windows", "device", "Other,,FILE:");
  EXPECT_EQ("Other,,FILE:", printers_.GetProfileString("windows", "device", "", 79));
}

TEST_F(Win32PrinterSystemTest, ReadingStopsOneShortOfTheBuffer) {
  const std::string name(100, 'p');
  printers_.WriteProfileString("windows", "device", name + ",,");
  EXPECT_EQ(name.substr(0, 78), printers_.GetProfileString("windows", "device", "", 79));
}

TEST_F(Win32PrinterSystemTest, AMissingKeyGivesTheFallback) {
  EXPECT_EQ("none", printers_.GetProfileString("windows", "pellox-no-such-key", "none", 79));
}

TEST_F(Win32PrinterSystemTest, TheNtFamilyIsReported) {
  EXPECT_EQ(platform_id::kWin32Nt, printers_.PlatformId());
}

TEST_F(Win32PrinterSystemTest, EnumerationFollowsTheSizeThenFillProtocol) {
  const auto cupsPrinters = PrivateCupsPrinters();
  std::vector<PrinterRecord> records;
  const uint32_t flags = printer_enum::kLocal | printer_enum::kConnections;
  const EnumPrintersResult size = printers_.EnumPrinters(flags, 4, 0, records);
  EXPECT_TRUE(records.empty());
  if (size.Needed == 0 && !cupsPrinters) GTEST_SKIP() << "no printers installed";
  ASSERT_NE(0u, size.Needed);
  EXPECT_FALSE(size.Ok);
  EXPECT_EQ(printer_enum::kErrorInsufficientBuffer, size.LastError);

  const EnumPrintersResult filled = printers_.EnumPrinters(flags, 4, size.Needed, records);
  EXPECT_TRUE(filled.Ok);
  ASSERT_FALSE(records.empty());
  for (const PrinterRecord& record : records) {
    EXPECT_FALSE(record.Name.empty());
    EXPECT_FALSE(record.PortList) << "level 4 has no ports";
  }
  if (cupsPrinters) {
    std::vector<std::string> names;
    for (const PrinterRecord& record : records) names.push_back(record.Name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(*cupsPrinters, names) << "Wine lists the CUPS scheduler's queues";
  }
}

TEST_F(Win32PrinterSystemTest, LevelFiveRecordsCarryTheirPorts) {
  if (!PrivateCupsPrinters()) GTEST_SKIP() << "not run beside a private CUPS scheduler";
  std::vector<PrinterRecord> records;
  const EnumPrintersResult size = printers_.EnumPrinters(printer_enum::kLocal, 5, 0, records);
  ASSERT_NE(0u, size.Needed);
  ASSERT_TRUE(printers_.EnumPrinters(printer_enum::kLocal, 5, size.Needed, records).Ok);
  ASSERT_FALSE(records.empty());
  for (const PrinterRecord& record : records) {
    ASSERT_TRUE(record.PortList) << record.Name;
    EXPECT_EQ("CUPS:" + record.Name, *record.PortList);  // Wine's port for a CUPS queue
  }
}

TEST_F(Win32PrinterSystemTest, ThePrinterListNeverFails) {
  TPrinter printer(printers_);
  std::vector<PrinterRecord> records;
  const EnumPrintersResult size = printers_.EnumPrinters(6, 4, 0, records);
  EXPECT_EQ(size.Needed == 0, printer.PrinterList().empty());
}

// Records the WM_WININICHANGE a broadcast brings to a Unicode window of this
// thread. Windows converts the section name for it; Wine 8.0 passes the
// caller's 8-bit bytes through unconverted (and hands 8-bit windows a
// pointer to garbage), so the probe accepts the name in either form.
int g_count = 0;
WPARAM g_wParam = 1;
bool g_namedWindows = false;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WININICHANGE) {
    ++g_count;
    g_wParam = wParam;
    g_namedWindows =
        lParam && (std::wstring(win32::IntegerAs<const wchar_t*>(lParam)) == L"windows" ||
                   std::strcmp(win32::IntegerAs<const char*>(lParam), "windows") == 0);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(Win32PrinterSystemTest, TheBroadcastReachesTopLevelWindowsBeforeItReturns) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PelloxBroadcastProbe";
  RegisterClassW(&wc);
  HWND probe = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(probe);
  g_count = 0;
  printers_.BroadcastSettingChange("windows");
  EXPECT_EQ(1, g_count);  // delivered before the call returned
  EXPECT_EQ(0u, g_wParam);
  EXPECT_TRUE(g_namedWindows);
  DestroyWindow(probe);
}

TEST_F(Win32PrinterSystemTest, SystemErrorTextsComeFromTheMessageTable) {
  EXPECT_FALSE(printers_.SystemErrorText(ERROR_FILE_NOT_FOUND).empty());
  EXPECT_NE(printers_.SystemErrorText(ERROR_FILE_NOT_FOUND),
            printers_.SystemErrorText(ERROR_ACCESS_DENIED));
}

TEST_F(Win32PrinterSystemTest, TheLastErrorBecomesEWin32Error) {
  SetLastError(ERROR_ACCESS_DENIED);
  try {
    ThrowLastWin32Error();
    FAIL() << "no error raised";
  } catch (const EWin32Error& error) {
    EXPECT_EQ(static_cast<uint32_t>(ERROR_ACCESS_DENIED), error.ErrorCode());
    const std::string expected = "Win32 エラー。コード : 5.\n";
    EXPECT_EQ(expected, error.Message().substr(0, expected.size()));
    EXPECT_GT(error.Message().size(), expected.size());
  }
}

}  // namespace
}  // namespace pellox::testing
