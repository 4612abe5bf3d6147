// The system's file dialogs as the File menu and "Browse" show them, driven
// by a timer that runs inside the dialog's own modal loop: it looks at the
// open dialog, types a name and confirms or cancels it as a user would.
#include "platform/windows/win32_api.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/control_ids.h"
#include "temp_folder.h"
#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;
using win32::MenuItemIdOf;

// What the script saw of the dialog before it typed.
struct DialogView {
  bool Found = false;
  HWND Owner = nullptr;
  bool OwnerEnabled = true;
  bool Resizable = false;
  bool ReadOnlyBoxShown = true;
  std::vector<std::string> FilterTexts;
  int FilterSelection = -1;
  std::string Folder;
  RECT Rect{};
};

// One use of a dialog: the name to type and whether to confirm it. A dialog
// (or a box it raised) still open 2 s after the answer is cancelled and the
// fact kept, so a test never hangs in a modal loop.
struct DialogScript {
  explicit DialogScript(std::string typed, bool confirm = true)
      : Typed(std::move(typed)), Confirm(confirm) {}

  std::string Typed;
  bool Confirm;
  DialogView View;
  bool Lingered = false;

  int TicksSinceAnswer = -1;
};

DialogScript* g_script = nullptr;

HWND OpenDialogOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
        *win32::IntegerAs<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

DialogView Look(HWND dialog) {
  DialogView view;
  view.Found = true;
  view.Owner = GetWindow(dialog, GW_OWNER);
  view.OwnerEnabled = view.Owner && IsWindowEnabled(view.Owner);
  view.Resizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
  HWND readOnly = GetDlgItem(dialog, chx1);
  view.ReadOnlyBoxShown = readOnly && IsWindowVisible(readOnly);
  HWND filters = GetDlgItem(dialog, cmb1);
  view.FilterTexts = ComboItems(filters);
  view.FilterSelection = static_cast<int>(SendMessageA(filters, CB_GETCURSEL, 0, 0));
  char folder[MAX_PATH] = {};
  SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
  view.Folder = folder;
  GetWindowRect(dialog, &view.Rect);
  return view;
}

void CALLBACK ScriptTick(HWND, UINT, UINT_PTR, DWORD) {
  DialogScript& script = *g_script;
  HWND dialog = OpenDialogOfThisThread();
  if (script.TicksSinceAnswer < 0) {
    if (!dialog) return;
    script.View = Look(dialog);
    AnswerFileDialog(dialog, script.Typed, script.Confirm);
    script.TicksSinceAnswer = 0;
    return;
  }
  if (dialog && ++script.TicksSinceAnswer > 40) {
    script.Lingered = true;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }
}

class FileDialogTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    Win32ProgramTest::SetUp();
    ShowNormally();
    // With the separator at its end, as the form keeps a folder.
    program_.Form().ListDir = folder_ / "";
  }

  // Sends `command` (a menu item or a button click) with `script` answering
  // the dialog it opens.
  void Use(DialogScript& script, const std::function<void()>& command) {
    g_script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ScriptTick);
    command();
    KillTimer(nullptr, timer);
    g_script = nullptr;
    DrainMessages();
    EXPECT_TRUE(script.View.Found) << "no dialog opened";
    EXPECT_FALSE(script.Lingered) << "the dialog did not end on the answer";
  }

  void Menu(size_t item) { SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(MenuItemIdOf(item), 0), 0); }

  std::string Caption() { return WindowText(Main()); }

  static constexpr size_t kNew = 0;
  static constexpr size_t kOpen = 1;
  static constexpr size_t kSaveAs = 3;
  TempFolder folder_;
};

TEST_F(FileDialogTest, SaveAsShowsTheListDialogAndSavesUnderTheTypedName) {
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);  // Add one entry
  DialogScript save{"morning"};
  Use(save, [&] { Menu(kSaveAs); });

  const DialogView& view = save.View;
  EXPECT_EQ(Main(), view.Owner);
  EXPECT_FALSE(view.OwnerEnabled) << "modal to the window";
  EXPECT_TRUE(view.Resizable);
  EXPECT_EQ(std::vector<std::string>{"FileList Files(*.lst)"}, view.FilterTexts);
  EXPECT_EQ(0, view.FilterSelection);
  EXPECT_EQ(folder_.Path(), view.Folder);

  const std::string saved = folder_ / "morning.lst";  // the default extension added
  EXPECT_TRUE(Exists(saved));
  EXPECT_EQ(saved, program_.Form().ListFileName);
  EXPECT_EQ("Pellox | " + saved, Caption());
}

// A paste with a line break keeps its first line in the field, and what the
// field takes that a list file cannot store (a 0x1A, a lone CR) never
// reaches the list: Save writes one entry and Open gives it back.
TEST_F(FileDialogTest, APasteWithALineBreakAndEndOfDataSavesAndOpensAsOneEntry) {
  SetWindowTextA(Control(ControlId::Edit1), "2");
  PutTextOnClipboard("C:\\a.exe\r\nC:\\other.exe");
  SetWindowTextA(Control(ControlId::Edit2), "");
  SendMessageA(Control(ControlId::Edit2), WM_PASTE, 0, 0);
  EXPECT_EQ("C:\\a.exe", WindowText(Control(ControlId::Edit2)));
  PutTextOnClipboard("-x\x1Ay\rz");
  SetWindowTextA(Control(ControlId::Edit3), "");
  SendMessageA(Control(ControlId::Edit3), WM_PASTE, 0, 0);
  EXPECT_EQ(0u, WindowText(Control(ControlId::Edit3)).find("-x\x1Ay"));
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);  // Add

  DialogScript save{"pasted"};
  Use(save, [&] { Menu(kSaveAs); });
  const std::string saved = folder_ / "pasted.lst";
  EXPECT_EQ("0\r\n1\r\n2\r\nC:\\a.exe\r\n-xy\r\n", ReadFile(saved));

  Menu(kNew);
  DialogScript open{"pasted"};
  Use(open, [&] { Menu(kOpen); });
  EXPECT_EQ(1, program_.Form().EntryCount);
  EXPECT_EQ("2", program_.Form().StringGrid1.Cell(1, 1));
  EXPECT_EQ("C:\\a.exe", program_.Form().StringGrid1.Cell(2, 1));
  EXPECT_EQ("-xy", program_.Form().StringGrid1.Cell(3, 1));
}

TEST_F(FileDialogTest, TheOpenDialogIsCentredAThirdFromTheTopWithoutAReadOnlyBox) {
  DialogScript cancel{"", false};
  Use(cancel, [&] { Menu(kOpen); });
  EXPECT_FALSE(cancel.View.ReadOnlyBoxShown);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(Main(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& m = monitor.rcMonitor;
  const RECT& r = cancel.View.Rect;
  const int centredLeft = (m.right - m.left - (r.right - r.left)) / 2;
  const int thirdDownTop = (m.bottom - m.top - (r.bottom - r.top)) / 3;
  EXPECT_NEAR(centredLeft, r.left - m.left, 1);
  EXPECT_NEAR(thirdDownTop, r.top - m.top, 1);
}

TEST_F(FileDialogTest, SavingOverAnExistingFileAsksNothing) {
  const std::string existing = folder_ / "old.lst";
  WriteFile(existing, "0\r\n0\r\n");
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);
  DialogScript save{"old.lst"};
  Use(save, [&] { Menu(kSaveAs); });
  EXPECT_EQ(existing, program_.Form().ListFileName);
  EXPECT_NE("0\r\n0\r\n", ReadFile(existing)) << "the list was written over it";
}

TEST_F(FileDialogTest, OpenTakesATypedNameWithoutItsExtension) {
  WriteFile(folder_ / "evening.lst", "0\r\n1\r\n7\r\nC:\\a.exe\r\n-q\r\n");
  DialogScript open{"evening"};
  Use(open, [&] { Menu(kOpen); });
  EXPECT_EQ(folder_ / "evening.lst", program_.Form().ListFileName);
  EXPECT_EQ(1, program_.Form().EntryCount);
  EXPECT_EQ("C:\\a.exe", program_.Form().StringGrid1.Cell(2, 1));
}

TEST_F(FileDialogTest, BrowseAcceptsANameThatDoesNotExistYet) {
  program_.Form().BrowseDir = folder_ / "";
  const std::string typed = folder_ / "later.exe";
  DialogScript browse{typed};
  Use(browse, [&] { SendMessageA(Control(ControlId::Button1), BM_CLICK, 0, 0); });
  EXPECT_EQ((std::vector<std::string>{"EXE Files(*.exe)", "All Files(*.*)"}),
            browse.View.FilterTexts);
  EXPECT_EQ(folder_.Path(), browse.View.Folder);
  EXPECT_EQ(typed, WindowText(Control(ControlId::Edit2)));
}

TEST_F(FileDialogTest, ACancelOrAnOverlongPathChangesNothing) {
  SetWindowTextA(Control(ControlId::Edit2), "C:\\kept.exe");
  DialogScript cancel{"ignored.exe", false};
  Use(cancel, [&] { SendMessageA(Control(ControlId::Button1), BM_CLICK, 0, 0); });
  EXPECT_EQ("C:\\kept.exe", WindowText(Control(ControlId::Edit2)));

  // One character more than a dialog path may hold, with the extension.
  const std::string name(kMaxDialogPath + 1 - (folder_ / "").size() - 4, 'n');
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);
  DialogScript overlong{name};
  Use(overlong, [&] { Menu(kSaveAs); });
  EXPECT_EQ("", program_.Form().ListFileName);
  EXPECT_TRUE(NamesIn(folder_.Path()).empty());
  EXPECT_EQ("Pellox", Caption());
}

}  // namespace
}  // namespace pellox::testing
