#include "printers/printer.h"

#include <gtest/gtest.h>

#include "common/errors.h"
#include "fake_platform.h"

namespace pellox::testing {
namespace {

std::vector<std::string> DisplayTexts(TPrinter& printer) {
  std::vector<std::string> texts;
  for (const PrinterEntry& entry : printer.PrinterList()) texts.push_back(entry.DisplayText);
  return texts;
}

using Texts = std::vector<std::string>;

TEST(PrinterListTest, OneEntryPerPrinterOnTheNtFamily) {
  FakePrinterSystem system;
  system.installed = {{"Laser", "LPT1:, FILE:"}, {"Ink", std::nullopt}};
  TPrinter printer(system);
  EXPECT_EQ(DisplayTexts(printer), (Texts{"Laser", "Ink"}));
  const TPrinterDevice& device = printer.PrinterList()[0].Device;
  EXPECT_EQ(device.DeviceName, "Laser");
  EXPECT_EQ(device.DriverName, "");
  EXPECT_EQ(device.PortName, "");
  ASSERT_EQ(system.enumCalls.size(), 2u);
  EXPECT_EQ(system.enumCalls[0].Flags, 6u);
  EXPECT_EQ(system.enumCalls[0].Level, 4);
  EXPECT_EQ(system.enumCalls[0].BufferSize, 0u);
  EXPECT_GT(system.enumCalls[1].BufferSize, 0u);
}

struct PortCase {
  const char* label;
  std::optional<std::string> ports;
  Texts texts;
};

class PerPortListTest : public ::testing::TestWithParam<PortCase> {};

TEST_P(PerPortListTest, OneEntryPerPrinterAndPort) {
  const PortCase& c = GetParam();
  FakePrinterSystem system;
  system.platformId = platform_id::kWin32Windows;
  system.installed = {{"Laser", c.ports}};
  TPrinter printer(system);
  EXPECT_EQ(DisplayTexts(printer), c.texts) << c.label;
  EXPECT_EQ(system.enumCalls.at(0).Flags, 2u);
  EXPECT_EQ(system.enumCalls.at(0).Level, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PerPortListTest,
    ::testing::Values(PortCase{"two ports", "LPT1:, FILE:", {"Laser. LPT1:", "Laser. FILE:"}},
                      PortCase{"empty item ends the walk", "LPT1:,,COM1:", {"Laser. LPT1:"}},
                      PortCase{"empty port list", "", {}},
                      PortCase{"no port list", std::nullopt, {}},
                      PortCase{"leading blanks only", "   ", {}}));

TEST(PrinterListTest, PortEntriesCarryThePort) {
  FakePrinterSystem system;
  system.platformId = platform_id::kWin32Windows;
  system.installed = {{"Laser", "LPT1:, FILE:"}};
  TPrinter printer(system);
  const TPrinterDevice& device = printer.PrinterList()[1].Device;
  EXPECT_EQ(device.DeviceName, "Laser");
  EXPECT_EQ(device.PortName, "FILE:");
}

TEST(PrinterListTest, FailuresGiveTheEmptyListForGood) {
  for (bool failSize : {true, false}) {
    FakePrinterSystem system;
    system.installed = {{"Laser", {}}};
    system.failSizeQuery = failSize;
    system.failFill = !failSize;
    TPrinter printer(system);
    EXPECT_TRUE(printer.PrinterList().empty());
    system.failSizeQuery = system.failFill = false;
    EXPECT_TRUE(printer.PrinterList().empty()) << "built once per process";
  }
}

TEST(PrinterListTest, NoPrintersGiveTheEmptyList) {
  FakePrinterSystem system;
  TPrinter printer(system);
  EXPECT_TRUE(printer.PrinterList().empty());
  EXPECT_EQ(system.enumCalls.size(), 1u);  // a size of 0 ends the build
}

TEST(SplitPortListTest, SkipsLeadingBlanksAndStopsAtAnEmptyItem) {
  EXPECT_EQ(SplitPortList("  Laser,winspool,Ne00:"), (Texts{"Laser", "winspool", "Ne00:"}));
  EXPECT_EQ(SplitPortList(",x"), Texts{});
  EXPECT_EQ(SplitPortList("a, ,b"), Texts{"a"});
  EXPECT_EQ(SplitPortList("a,"), Texts{"a"});
}

TEST(SelectDefaultPrinterTest, TheCurrentIndexStaysUnsetUntilADefaultIsFound) {
  FakePrinterSystem system;
  system.installed = {{"Laser", {}}, {"Ink", {}}};
  TPrinter printer(system);
  EXPECT_EQ(printer.CurrentIndex(), -1);
  EXPECT_THROW(printer.SetCurrentPrinter(1), EPrinter);
  EXPECT_EQ(printer.CurrentIndex(), -1);

  system.defaultPrinter = "Ink";
  printer.SetCurrentPrinter(0);
  EXPECT_EQ(printer.CurrentIndex(), 0);
  system.defaultPrinter.reset();
  printer.SetCurrentPrinter(1);  // no second identification
  EXPECT_EQ(printer.CurrentDeviceNames().Device, "Ink");
}

TEST(SelectDefaultPrinterTest, FallsBackToTheProfilesFirstItem) {
  FakePrinterSystem system;
  system.installed = {{"Laser", {}}, {"Ink", {}}};
  system.profile["windows/device"] = "   Ink,winspool,Ne01:";
  TPrinter printer(system);
  printer.SelectDefaultPrinter();
  EXPECT_EQ(printer.CurrentIndex(), 1);
}

TEST(SelectDefaultPrinterTest, NamesMatchByteForByte) {
  FakePrinterSystem system;
  system.installed = {{"Laser", {}}};
  system.defaultPrinter = "laser";
  TPrinter printer(system);
  try {
    printer.SelectDefaultPrinter();
    FAIL() << "a name differing in case matched";
  } catch (const EPrinter& error) {
    EXPECT_EQ(error.Message(), "デフォルト プリンタが存在しません");
  }
}

TEST(SelectDefaultPrinterTest, OnePrinterOnSeveralPortsIsFoundThroughItsFirstEntry) {
  FakePrinterSystem system;
  system.platformId = platform_id::kWin32Windows;
  system.installed = {{"Laser", "LPT1:, FILE:"}};
  system.defaultPrinter = "Laser";
  TPrinter printer(system);
  printer.SelectDefaultPrinter();
  EXPECT_EQ(printer.CurrentIndex(), 0);
}

TEST(SelectDefaultPrinterTest, AFailingQueryRaisesThePlatformError) {
  FakePrinterSystem system;
  system.installed = {{"Laser", {}}};
  system.defaultQueryError = 1722;
  TPrinter printer(system);
  try {
    printer.SelectDefaultPrinter();
    FAIL() << "no error";
  } catch (const EWin32Error& error) {
    EXPECT_EQ(error.ErrorCode(), 1722u);
    EXPECT_EQ(error.Message(), "Win32 エラー。コード : 1722.\nSystem text 1722");
  }
}

TEST(SetCurrentPrinterTest, AnIndexOutsideTheListIsRefused) {
  FakePrinterSystem system;
  system.installed = {{"Laser", {}}};
  system.defaultPrinter = "Laser";
  TPrinter printer(system);
  for (int index : {-1, 1}) {
    try {
      printer.SetCurrentPrinter(index);
      FAIL() << index;
    } catch (const EPrinter& error) {
      EXPECT_EQ(error.Message(), "プリンタ番号が範囲を超えています");
    }
  }
}

}  // namespace
}  // namespace pellox::testing
