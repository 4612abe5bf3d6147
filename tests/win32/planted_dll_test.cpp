// pellox.exe started from a folder where someone left a DLL of their own
// under the name of each system DLL it loads at run time, with another such
// folder as its current folder: as after unpacking the zip into Downloads.
// The stand-ins (stand_in_dll.cpp) leave a marker file when they are
// loaded. Wine looks in the program's folder before taking its own
// built-in DLL only when told to prefer native ones ("native,builtin"),
// which makes it search as Windows does for a DLL that is not a KnownDLL.
#include "platform/windows/win32_api.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "accessibility_support.h"
#include "delay_loaded_dlls.h"
#include "pellox_exe_fixture.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/control_ids.h"

namespace pellox::testing {
namespace {

using layout::ControlId;
using win32::ControlIdOf;
using win32::MenuItemIdOf;

constexpr size_t kOpenItem = 1;  // File/Open
constexpr char kCurrentFolderOnly[] = "pellox_planted.dll";

// Wine's DLL overrides for the programs of one file name (its per-program
// key, HKCU\Software\Wine\AppDefaults\<name>\DllOverrides), set for the
// object's life. Wine reads WINEDLLOVERRIDES only from the environment it
// was started with, never from the one a Windows program hands to its
// child, so the registry is the way to reach the programs started here.
class NativeFirstFor {
 public:
  NativeFirstFor(const std::string& program, const std::vector<std::string>& dlls)
      : programKey_("Software\\Wine\\AppDefaults\\" + program),
        key_(programKey_ + "\\DllOverrides") {
    HKEY key = nullptr;
    programKeyIsOurs_ =
        RegOpenKeyExA(HKEY_CURRENT_USER, programKey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot create " << key_;
      return;
    }
    for (const std::string& dll : dlls) {
      // Wine's names drop ".dll" and keep other endings (winspool.drv).
      names_.push_back(dll.ends_with(".dll") ? dll.substr(0, dll.size() - 4) : dll);
      static constexpr char kOrder[] = "native,builtin";
      RegSetValueExA(key, names_.back().c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder),
                     sizeof kOrder);
    }
    RegCloseKey(key);
  }
  ~NativeFirstFor() {
    if (programKeyIsOurs_) {
      RegDeleteTreeA(HKEY_CURRENT_USER, programKey_.c_str());
      return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
      return;
    }
    for (const std::string& name : names_) RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
  }
  NativeFirstFor(const NativeFirstFor&) = delete;
  NativeFirstFor& operator=(const NativeFirstFor&) = delete;

 private:
  std::string programKey_;
  std::string key_;
  bool programKeyIsOurs_ = false;
  std::vector<std::string> names_;
};

class PlantedDllTest : public PelloxExeTest {
 protected:
  void SetUp() override {
    PelloxExeTest::SetUp();
    ASSERT_FALSE(dlls_.empty());
    for (const std::string& dll : dlls_) {
      for (const TempFolder* folder : {&programFolder_, &currentFolder_}) {
        ASSERT_TRUE(
            CopyFileA((OwnFolder() + "stand-ins\\" + dll).c_str(), (*folder / dll).c_str(), FALSE))
            << dll;
      }
    }
    // A stand-in under a name that System32 lacks, in the current folder only.
    ASSERT_TRUE(CopyFileA((programFolder_ / dlls_[0]).c_str(),
                          (currentFolder_ / kCurrentFolderOnly).c_str(), FALSE));
  }

  // A copy of `program` in the folder with the stand-ins, started by Wine
  // with those DLLs native first while the test runs.
  std::string Install(const std::string& program) {
    const std::string name = program.substr(program.find_last_of('\\') + 1);
    overrides_.push_back(std::make_unique<NativeFirstFor>(name, dlls_));
    std::string copy = programFolder_ / name;
    EXPECT_TRUE(CopyFileA(program.c_str(), copy.c_str(), FALSE)) << program;
    return copy;
  }

  // The stand-ins' names and kCurrentFolderOnly, for pellox_dll_loader.
  std::string LoaderNames() {
    std::string names = kCurrentFolderOnly;
    for (const std::string& dll : dlls_) names += " " + dll;
    return names;
  }

  // The markers the stand-ins left in either folder, in lower case: one per
  // stand-in that was loaded.
  std::vector<std::string> LoadedStandIns() {
    std::vector<std::string> loaded;
    for (const TempFolder* folder : {&programFolder_, &currentFolder_}) {
      for (const std::string& name : NamesIn(folder->Path())) {
        if (name.ends_with(".loaded")) loaded.push_back(Lower(*folder / name));
      }
    }
    std::sort(loaded.begin(), loaded.end());
    return loaded;
  }

  // Uses the program through its window as a user would: the window with
  // its status bar and printer list, File/Open and its dialog loading
  // `list`, a screen reader's questions, (the printer switch when `printerChoice` is not 0, then
  // the marker entries "A" and "B"), and Close.
  void OpenAndRun(const std::string& list, int printerChoice) {
    HWND main = FindMainWindow();
    ASSERT_TRUE(main) << "the program showed no window";
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main); }));
    EXPECT_EQ("msctls_statusbar32", ClassOf(GetDlgItem(main, ControlIdOf(ControlId::StatusBar1))));
    EXPECT_EQ(static_cast<LRESULT>(SystemPrinterNames().size() + 1),
              SendMessageA(GetDlgItem(main, ControlIdOf(ControlId::ComboBox1)), CB_GETCOUNT, 0, 0));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(MenuItemIdOf(kOpenItem), 0), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = VisibleDialogOf(processId_)) != nullptr; }))
        << "File/Open showed no dialog";
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    SetWindowTextA(name, list.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitFor([&] { return WindowText(main) == "Pellox | " + list; }))
        << "the list did not load";

    // A screen reader in another process reads the grid and a field:
    // oleacc comes into the program now.
    {
      const win32::ComApartment apartment;
      HWND grid = GetDlgItem(main, ControlIdOf(ControlId::StringGrid1));
      EXPECT_EQ("Run list", NameOf({ClientObjectOf(grid), CHILDID_SELF}));
      EXPECT_EQ(3, ChildCountOf(ClientObjectOf(grid).Get()));  // the headings and two entries
      EXPECT_EQ("ExeName", NameOf({ClientObjectOf(GetDlgItem(main, ControlIdOf(ControlId::Edit2))),
                                   CHILDID_SELF}));
    }

    const int run = ControlIdOf(ControlId::Button7);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(run, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main, run)));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), StartedParameters(2));
    if (printerChoice != 0) {
      EXPECT_EQ(SystemPrinterNames()[static_cast<size_t>(printerChoice - 1)] + ",,", DeviceValue());
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, ExitCode());
  }

  const std::vector<std::string> dlls_ = DelayLoadedDlls();
  std::vector<std::unique_ptr<NativeFirstFor>> overrides_;
  TempFolder programFolder_;
  TempFolder currentFolder_;
};

// What the other cases stand on: a program that looks for these DLLs by
// name in the usual order, as a load-time import does, loads the stand-ins
// beside it, and their code runs; a DLL that System32 lacks it finds in the
// current folder.
TEST_F(PlantedDllTest, AProgramSearchingTheUsualWayLoadsTheStandInsBesideIt) {
  StartProgram(Install(OwnFolder() + "pellox_dll_loader.exe"), LoaderNames(),
               currentFolder_.Path());
  EXPECT_EQ(0, ExitCode());
  std::vector<std::string> expected = {Lower(currentFolder_ / kCurrentFolderOnly + ".loaded")};
  for (const std::string& dll : dlls_) expected.push_back(Lower(programFolder_ / dll + ".loaded"));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, LoadedStandIns());
}

// After pellox.exe's start-up call, what the system loads by name for the
// program later (the shell, the dialogs, printer drivers) comes from
// System32 too: nothing from the program's folder or the current folder.
TEST_F(PlantedDllTest, AfterTheStartUpCallAProgramLoadsNothingBesideItOrFromTheCurrentFolder) {
  StartProgram(Install(OwnFolder() + "pellox_dll_loader.exe"), "--system32-only " + LoaderNames(),
               currentFolder_.Path());
  EXPECT_EQ(1, ExitCode()) << "all but " << kCurrentFolderOnly << " load from System32";
  EXPECT_EQ(std::vector<std::string>{}, LoadedStandIns());
}

TEST_F(PlantedDllTest, PelloxExeLoadsNoneOfThemWhileItShowsItsWindowAndRunsAList) {
  SavedDeviceValue savedDevice;
  const int printerChoice = PrivateCupsPrinters() ? 2 : 0;
  if (printerChoice != 0) {
    WriteProfileStringA("windows", "device", (SystemPrinterNames().at(0) + ",,").c_str());
  }
  const std::string list = WriteList({"A", "B"}, printerChoice);
  StartProgram(Install(exe_), "", currentFolder_.Path());
  OpenAndRun(list, printerChoice);
  EXPECT_EQ(std::vector<std::string>{}, LoadedStandIns());
}

}  // namespace
}  // namespace pellox::testing
