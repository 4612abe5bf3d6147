// The main window's real controls under Wine against the layout table.
#include "platform/win32/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/win32/control_ids.h"
#include "temp_folder.h"
#include "win32_program_fixture.h"

namespace pellox::testing {
namespace {

using layout::ControlId;
using layout::ControlKind;
using win32::ControlIdOf;
using win32::MenuItemIdOf;

const char* ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return "static";
    case ControlKind::ComboBox:
      return "combobox";
    case ControlKind::Edit:
      return "edit";
    case ControlKind::Button:
      return "button";
    case ControlKind::StringGrid:
      return "pelloxstringgrid";
    case ControlKind::StatusBar:
      return "msctls_statusbar32";
  }
  return "";
}

RECT ClientRectOf(HWND control, HWND parent) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LONG StyleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

class MainWindowTest : public Win32ProgramTest {
 protected:
  HWND EditOf(EditField field) {
    switch (field) {
      case EditField::Edit1:
        return Control(ControlId::Edit1);
      case EditField::Edit2:
        return Control(ControlId::Edit2);
      case EditField::Edit3:
        return Control(ControlId::Edit3);
    }
    return nullptr;
  }
};

TEST_F(MainWindowTest, ControlsSitAtTheirLayoutRectangles) {
  ShowNormally();
  for (const layout::Control& control : layout::kControls) {
    const RECT rect = ClientRectOf(Control(control.Id), Main());
    EXPECT_EQ(control.Left, rect.left) << control.Name;
    EXPECT_EQ(control.Top, rect.top) << control.Name;
    EXPECT_EQ(control.Width, rect.right - rect.left) << control.Name;
    EXPECT_EQ(control.Height, rect.bottom - rect.top) << control.Name;
  }
}

TEST_F(MainWindowTest, ControlsHaveTheirClassesAndLayoutCaptions) {
  // Before FormShow the fields still hold the layout's texts.
  for (const layout::Control& control : layout::kControls) {
    EXPECT_EQ(ExpectedClass(control.Kind), ClassOf(Control(control.Id))) << control.Name;
    if (control.Kind == ControlKind::ComboBox) continue;  // its text is the selection
    EXPECT_EQ(control.Caption, WindowText(Control(control.Id))) << control.Name;
    EXPECT_EQ(ControlIdOf(control.Id), GetDlgCtrlID(Control(control.Id))) << control.Name;
  }
  EXPECT_EQ("Pellox", WindowText(Main()));
}

// The text of Edit1 at the moment the main window is first shown.
std::string g_edit1AtShow = "(not shown)";
HWND g_edit1 = nullptr;
LRESULT CALLBACK ShowHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = win32::IntegerAs<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam &&
      g_edit1AtShow == "(not shown)" && GetParent(g_edit1) == message->hwnd) {
    g_edit1AtShow = WindowText(g_edit1);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindowTest, FormShowRunsBeforeTheWindowIsShown) {
  g_edit1 = Control(ControlId::Edit1);
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &ShowHook, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  ShowNormally();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ("", g_edit1AtShow);
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_EQ("No.", program_.Form().StringGrid1.Cell(0, 0));
}

TEST_F(MainWindowTest, ClientAreaPositionAndFixedBorder) {
  ShowNormally();
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_EQ(layout::kWindow.ClientWidth, client.right);
  EXPECT_EQ(layout::kWindow.ClientHeight, client.bottom);
  RECT outer;
  GetWindowRect(Main(), &outer);
  EXPECT_EQ(layout::kWindow.Left, outer.left);
  EXPECT_EQ(layout::kWindow.Top, outer.top);
  const LONG style = StyleOf(Main());
  EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(MainWindowTest, TabOrderFollowsTheLayout) {
  ShowNormally();
  std::vector<const layout::Control*> stops;
  for (const layout::Control& control : layout::kControls) {
    if (control.TabOrder != layout::kNoTabStop) stops.push_back(&control);
  }
  std::sort(stops.begin(), stops.end(),
            [](const auto* a, const auto* b) { return a->TabOrder < b->TabOrder; });
  HWND current = Control(ControlId::ComboBox1);
  for (size_t i = 1; i <= stops.size(); ++i) {
    current = GetNextDlgTabItem(Main(), current, FALSE);
    const layout::Control& expected = *stops[i % stops.size()];
    EXPECT_EQ(Control(expected.Id), current) << "step " << i << ", expected " << expected.Name;
  }
}

TEST_F(MainWindowTest, TheComboBoxHasTheFocusWhenTheWindowOpens) {
  ShowNormally();
  SetForegroundWindow(Main());
  DrainMessages();
  EXPECT_EQ(Control(ControlId::ComboBox1), GetFocus());
}

TEST_F(MainWindowTest, TabInTheMessageLoopMovesOnAndSelectsTheWholeField) {
  ShowNormally();
  SetWindowTextA(Control(ControlId::Edit2), "C:\\prog.exe");
  SetFocus(Control(ControlId::Edit1));
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  Pump();
  EXPECT_EQ(Control(ControlId::Edit2), GetFocus());
  DWORD start = 1, end = 0;
  SendMessageA(Control(ControlId::Edit2), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(0u, start);
  EXPECT_EQ(11u, end);

  // Shift+Tab goes back.
  SetKeyHeld(VK_SHIFT, true);
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  Pump();
  SetKeyHeld(VK_SHIFT, false);
  EXPECT_EQ(Control(ControlId::Edit1), GetFocus());
}

TEST_F(MainWindowTest, EnterInAFieldClicksNothing) {
  ShowNormally();
  SetFocus(Control(ControlId::Edit2));
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(GetFocus(), WM_CHAR, '\r', 0);
  Pump();
  EXPECT_EQ(0, program_.Form().EntryCount);
  for (ControlId id : {ControlId::Button1, ControlId::Button2, ControlId::Button7}) {
    EXPECT_FALSE(StyleOf(Control(id)) & BS_DEFPUSHBUTTON);
  }
}

TEST_F(MainWindowTest, ControlsUseTheWindowFontExceptTheStatusBar) {
  HFONT font = win32::IntegerAs<HFONT>(SendMessageA(Control(ControlId::Edit1), WM_GETFONT, 0, 0));
  ASSERT_TRUE(font);
  LOGFONTA logFont{};
  GetObjectA(font, sizeof logFont, &logFont);
  EXPECT_EQ(layout::kWindow.FontHeight, logFont.lfHeight);
  EXPECT_EQ(layout::kWindow.FontCharset, logFont.lfCharSet);
  EXPECT_STREQ(layout::kWindow.FontName, logFont.lfFaceName);
  for (const layout::Control& control : layout::kControls) {
    const auto used = win32::IntegerAs<HFONT>(SendMessageA(Control(control.Id), WM_GETFONT, 0, 0));
    if (control.Kind == ControlKind::StatusBar) {
      EXPECT_NE(font, used) << control.Name;
    } else {
      EXPECT_EQ(font, used) << control.Name;
    }
  }
}

TEST_F(MainWindowTest, ControlStylesMatchTheirKinds) {
  HWND combo = Control(ControlId::ComboBox1);
  EXPECT_EQ(CBS_DROPDOWNLIST, StyleOf(combo) & 3);
  EXPECT_FALSE(StyleOf(combo) & CBS_SORT);
  for (ControlId id : {ControlId::Edit1, ControlId::Edit2, ControlId::Edit3}) {
    EXPECT_TRUE(StyleOf(Control(id)) & ES_AUTOHSCROLL);
    EXPECT_FALSE(StyleOf(Control(id)) & ES_MULTILINE);
  }
  for (const layout::Control& control : layout::kControls) {
    const bool tabStop = (StyleOf(Control(control.Id)) & WS_TABSTOP) != 0;
    EXPECT_EQ(control.TabOrder != layout::kNoTabStop, tabStop) << control.Name;
    if (control.Kind == ControlKind::Button) {
      EXPECT_EQ(BS_PUSHBUTTON, StyleOf(Control(control.Id)) & 0x0F) << control.Name;
    }
  }
  EXPECT_FALSE(StyleOf(Control(ControlId::StatusBar1)) & SBARS_SIZEGRIP);
}

TEST_F(MainWindowTest, TheStatusBarHasThreePanels) {
  int rights[4] = {};
  EXPECT_EQ(3, SendMessageA(Control(ControlId::StatusBar1), SB_GETPARTS, 4,
                            reinterpret_cast<LPARAM>(rights)));
  EXPECT_EQ(40, rights[0]);
  EXPECT_EQ(340, rights[1]);
  EXPECT_EQ(-1, rights[2]);
}

TEST_F(MainWindowTest, TheOpenedPrinterListShowsEightItems) {
  ShowNormally();
  HWND combo = Control(ControlId::ComboBox1);
  for (int i = 0; i < 12; ++i) program_.Toolkit().AddItem("printer " + std::to_string(i));
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  RECT list;
  GetClientRect(info.hwndList, &list);
  const int item = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(layout::kComboDropDownCount, list.bottom / item);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(MainWindowTest, TheFileMenuCaptionsAreByteForByte) {
  HMENU bar = GetMenu(Main());
  ASSERT_TRUE(bar);
  ASSERT_EQ(1, GetMenuItemCount(bar));
  char caption[128];
  GetMenuStringA(bar, 0, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(layout::kFileMenu.Caption, caption);
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(static_cast<int>(layout::kFileMenuItems.size()), GetMenuItemCount(file));
  for (size_t i = 0; i < layout::kFileMenuItems.size(); ++i) {
    const layout::MenuItem& item = layout::kFileMenuItems[i];
    const UINT state = GetMenuState(file, static_cast<UINT>(i), MF_BYPOSITION);
    if (std::string(item.Caption) == "-") {
      EXPECT_TRUE(state & MF_SEPARATOR) << item.Name;
      continue;
    }
    caption[0] = 0;
    GetMenuStringA(file, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(item.Caption, caption) << item.Name;
    EXPECT_EQ(MenuItemIdOf(i), static_cast<int>(GetMenuItemID(file, static_cast<int>(i))));
  }
}

TEST_F(MainWindowTest, ALetterStartingACaptionChoosesThatItem) {
  HMENU file = GetSubMenu(GetMenu(Main()), 0);
  for (WPARAM letter : {WPARAM('E'), WPARAM('e')}) {
    const LRESULT result = SendMessageA(Main(), WM_MENUCHAR, MAKEWPARAM(letter, MF_POPUP),
                                        reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(MNC_EXECUTE, HIWORD(result));
    char caption[64];
    GetMenuStringA(file, LOWORD(result), caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ("Exit(X)", caption);
  }
  for (WPARAM letter : {WPARAM('A'), WPARAM('X'), WPARAM('q')}) {
    const LRESULT result = SendMessageA(Main(), WM_MENUCHAR, MAKEWPARAM(letter, MF_POPUP),
                                        reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(MNC_IGNORE, HIWORD(result)) << static_cast<char>(letter);
  }
}

// The application's own window holds the one taskbar button under the
// application title from start-up on (an unattended run happens before the
// main window first reaches the screen), and the button's Close asks to
// quit.
TEST_F(MainWindowTest, BeforeTheWindowIsShownTheApplicationHoldsTheTaskbarButton) {
  HWND application = program_.AppWindow().Window();
  EXPECT_EQ(std::vector<HWND>{application}, TaskbarWindows(GetCurrentProcessId()));
  EXPECT_EQ("Pellox", WindowText(application));
  EXPECT_FALSE(IsWindowVisible(Main()));
  SetWindowTextA(Main(), "Pellox | C:\\lists\\a.lst");  // the main caption is its own
  EXPECT_EQ("Pellox", WindowText(application));

  PostMessageA(application, WM_SYSCOMMAND, SC_CLOSE, 0);  // as the taskbar does
  EXPECT_TRUE(Pump());
  EXPECT_TRUE(IsWindow(application));
  EXPECT_TRUE(IsWindow(Main()));
}

// Once shown, the main window is owned by the application's window and has
// no button of its own; its caption never reaches the button.
TEST_F(MainWindowTest, OnceShownTheApplicationStillHasTheOnlyTaskbarButton) {
  HWND application = program_.AppWindow().Window();
  ShowNormally();
  EXPECT_EQ(application, GetWindow(Main(), GW_OWNER));
  EXPECT_FALSE(GetWindowLongA(Main(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(std::vector<HWND>{application}, TaskbarWindows(GetCurrentProcessId()));
  EXPECT_EQ(Main(), GetActiveWindow());
  program_.Toolkit().SetCaption("Pellox | C:\\lists\\a.lst");
  EXPECT_EQ("Pellox", WindowText(application));
  EXPECT_EQ(std::vector<HWND>{application}, TaskbarWindows(GetCurrentProcessId()));
}

// Minimize on the main window (its title bar, its system menu, Win+Down)
// minimises the application to its button; the button's Restore brings
// the window back as it was, maximised or not, and active.
class MinimiseTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(MinimiseTest, MinimiseAndRestoreGoThroughTheApplication) {
  HWND application = program_.AppWindow().Window();
  program_.Show(GetParam());
  DrainMessages();
  SendMessageA(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  DrainMessages();
  EXPECT_TRUE(IsIconic(application));
  EXPECT_TRUE(program_.AppWindow().Minimised());
  EXPECT_FALSE(IsWindowVisible(Main()));
  EXPECT_EQ(std::vector<HWND>{application}, TaskbarWindows(GetCurrentProcessId()));

  SendMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);  // as the taskbar does
  DrainMessages();
  EXPECT_FALSE(IsIconic(application));
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_FALSE(IsIconic(Main()));
  EXPECT_EQ(GetParam() == SW_SHOWMAXIMIZED, IsZoomed(Main()) != FALSE);
  EXPECT_EQ(Main(), GetActiveWindow());
}

INSTANTIATE_TEST_SUITE_P(StartedNormallyOrMaximised, MinimiseTest,
                         ::testing::Values(SW_SHOWNORMAL, SW_SHOWMAXIMIZED));

// The main window minimised by other means (another program's ShowWindow)
// takes the application with it, and comes back with it.
TEST_F(MainWindowTest, TheMainWindowMinimisedFromOutsideTakesTheApplicationAlong) {
  HWND application = program_.AppWindow().Window();
  ShowNormally();
  ShowWindow(Main(), SW_MINIMIZE);
  DrainMessages();
  EXPECT_TRUE(IsIconic(application));
  EXPECT_FALSE(IsWindowVisible(Main()));
  ShowWindow(application, SW_RESTORE);
  DrainMessages();
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_FALSE(IsIconic(Main()));
}

// Alt+Tab and a click on the button activate the application's window,
// which hands the activation on to the main window.
TEST_F(MainWindowTest, ActivatingTheApplicationActivatesTheMainWindow) {
  HWND application = program_.AppWindow().Window();
  ShowNormally();
  SetActiveWindow(application);
  DrainMessages();
  EXPECT_EQ(Main(), GetActiveWindow());
}

TEST_F(MainWindowTest, AMinimisedStartWaitsOnTheButtonForTheFirstRestore) {
  HWND application = program_.AppWindow().Window();
  program_.Show(SW_SHOWMINNOACTIVE);
  DrainMessages();
  EXPECT_TRUE(IsIconic(application));
  EXPECT_FALSE(IsWindowVisible(Main()));
  EXPECT_EQ(std::vector<HWND>{application}, TaskbarWindows(GetCurrentProcessId()));
  EXPECT_TRUE(program_.Window().FormShowPending());
  EXPECT_EQ("Edit1", WindowText(Control(ControlId::Edit1)));

  SendMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
  DrainMessages();
  EXPECT_FALSE(program_.Window().FormShowPending());
  EXPECT_EQ("", WindowText(Control(ControlId::Edit1)));  // FormShow ran
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_FALSE(IsIconic(Main()));
  EXPECT_EQ(std::vector<HWND>{application}, TaskbarWindows(GetCurrentProcessId()));
}

// While the unattended run waits (before the main window first reached the
// screen), minimising and restoring the application from its button brings
// nothing on the screen; the window shows only once the run is over.
HWND g_application = nullptr;
HWND g_mainWindow = nullptr;
int g_buttonClicks = 0;
bool g_mainSeenDuringRun = false;
void CALLBACK ClickTheButton(HWND, UINT, UINT_PTR id, DWORD) {
  const WPARAM command = g_buttonClicks == 0 ? SC_MINIMIZE : SC_RESTORE;
  SendMessageA(g_application, WM_SYSCOMMAND, command, 0);  // as the taskbar does
  g_mainSeenDuringRun |= IsWindowVisible(g_mainWindow) != FALSE;
  if (++g_buttonClicks == 2) KillTimer(nullptr, id);
}

TEST(UnattendedRunWindowTest, TheButtonsRestoreDuringTheRunBringsNothingOnTheScreen) {
  TempFolder folder;
  const std::string list = folder / "run.lst";
  WriteFile(list, "0\r\n1\r\n2\r\n" + (folder / "missing.exe") + "\r\n\r\n");
  win32::Win32Program program(GetModuleHandleA(nullptr), "pellox.exe \"" + list + "\"");
  program.Create();
  g_application = program.AppWindow().Window();
  g_mainWindow = program.Window().Window();
  SetTimer(nullptr, 0, 300, &ClickTheButton);
  program.Show(SW_SHOWNORMAL);  // FormShow runs the list here
  EXPECT_EQ(g_buttonClicks, 2);
  EXPECT_FALSE(g_mainSeenDuringRun);
  EXPECT_TRUE(IsWindowVisible(g_mainWindow));            // for a moment, before the program ends
  EXPECT_TRUE(program.Pump().ProcessPendingMessages());  // the run's end asked to quit
}

TEST_F(MainWindowTest, ClosingPostsAQuitRequestAndKeepsTheWindow) {
  ShowNormally();
  SendMessageA(Main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(Main()));
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_TRUE(Pump());
}

TEST_F(MainWindowTest, AButtonClickReachesItsHandler) {
  ShowNormally();
  SetWindowTextA(Control(ControlId::Edit1), "5");
  SetWindowTextA(Control(ControlId::Edit2), "C:\\tools\\a.exe");
  SetWindowTextA(Control(ControlId::Edit3), "-x \"y z\"");
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);  // Add
  Pump();
  EXPECT_EQ(1, program_.Form().EntryCount);
  EXPECT_EQ("5", program_.Form().StringGrid1.Cell(1, 1));
  EXPECT_EQ("C:\\tools\\a.exe", program_.Form().StringGrid1.Cell(2, 1));
  EXPECT_EQ("-x \"y z\"", program_.Form().StringGrid1.Cell(3, 1));
}

// The fields have no length limit of their own: neither a paste nor typing
// stops at the system's default of 30,000 characters.
TEST_F(MainWindowTest, LongTextsPasteTypeAndGoThroughPickAndAdd) {
  ShowNormally();
  const std::string big(100000, 'p');
  PutTextOnClipboard(big);
  for (EditField field : {EditField::Edit1, EditField::Edit2, EditField::Edit3}) {
    HWND edit = EditOf(field);
    SetWindowTextA(edit, "");
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(big.size(), program_.Toolkit().Text(field).size()) << static_cast<int>(field);
  }

  SetWindowTextA(Control(ControlId::Edit1), "1");
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);  // Add
  ASSERT_EQ(1, program_.Form().EntryCount);
  EXPECT_EQ(big, program_.Form().StringGrid1.Cell(3, 1));

  // Pick brings it back; a letter typed at its end still goes in.
  SendMessageA(Control(ControlId::Button6), BM_CLICK, 0, 0);  // Pick
  HWND edit3 = Control(ControlId::Edit3);
  SendMessageA(edit3, EM_SETSEL, big.size(), static_cast<LPARAM>(big.size()));
  SendMessageA(edit3, WM_CHAR, 'x', 0);
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);  // Add
  ASSERT_EQ(2, program_.Form().EntryCount);
  EXPECT_EQ(big + "x", program_.Form().StringGrid1.Cell(3, 2));
}

// The system's single-line field keeps only the first line of a paste that
// holds CR LF or LF. (Wine keeps a lone CR in the field; the cells never
// take one.)
TEST_F(MainWindowTest, APastedLineBreakKeepsTheFirstLineOnly) {
  ShowNormally();
  HWND edit2 = Control(ControlId::Edit2);
  for (const char* pasted : {"a\r\nb", "a\nb"}) {
    PutTextOnClipboard(pasted);
    SetWindowTextA(edit2, "");
    SendMessageA(edit2, WM_PASTE, 0, 0);
    EXPECT_EQ("a", WindowText(edit2)) << WindowText(edit2).size();
  }
}

TEST_F(MainWindowTest, MenuCommandsReachTheirHandlers) {
  ShowNormally();
  SendMessageA(Control(ControlId::Button2), BM_CLICK, 0, 0);
  ASSERT_EQ(1, program_.Form().EntryCount);
  const int newId = MenuItemIdOf(0);
  SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(newId, 0), 0);  // File/New
  EXPECT_EQ(0, program_.Form().EntryCount);
  const int exitId = MenuItemIdOf(layout::kFileMenuItems.size() - 1);
  SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(exitId, 0), 0);  // File/Exit
  EXPECT_TRUE(Pump());
}

// Timers run inside the menu loop: the first types a letter once the File
// menu is open, the second ends the loop should the letter not do it.
HWND g_menuOwner = nullptr;
WPARAM g_letter = 0;
void CALLBACK TypeLetter(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageA(g_menuOwner, WM_CHAR, g_letter, 0);
}
bool g_menuEndedByForce = false;
void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_menuEndedByForce = true;
  EndMenu();
}

// Opens the File menu as Alt+F does, types `letter` into it and returns
// when the menu loop has ended.
void TypeInFileMenu(HWND window, char letter) {
  g_menuOwner = window;
  g_letter = static_cast<unsigned char>(letter);
  g_menuEndedByForce = false;
  SetTimer(nullptr, 0, 300, &TypeLetter);
  const UINT_PTR safety = SetTimer(nullptr, 0, 3000, &EndMenuLater);
  SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  KillTimer(nullptr, safety);
}

TEST_F(MainWindowTest, TypingEInTheOpenFileMenuChoosesExit) {
  ShowNormally();
  TypeInFileMenu(Main(), 'e');
  EXPECT_FALSE(g_menuEndedByForce);
  EXPECT_TRUE(Pump());  // Exit posted the quit request
}

TEST_F(MainWindowTest, TypingXInTheOpenFileMenuChoosesNothing) {
  ShowNormally();
  TypeInFileMenu(Main(), 'x');
  EXPECT_TRUE(g_menuEndedByForce);  // the menu stayed open
  EXPECT_FALSE(Pump());
}

TEST_F(MainWindowTest, MaximisedStartKeepsTheStatusBarAtTheBottom) {
  program_.Show(SW_SHOWMAXIMIZED);
  DrainMessages();
  EXPECT_TRUE(IsZoomed(Main()));
  EXPECT_EQ("", WindowText(Control(ControlId::Edit1)));  // FormShow ran
  RECT client;
  GetClientRect(Main(), &client);
  const RECT bar = ClientRectOf(Control(ControlId::StatusBar1), Main());
  EXPECT_EQ(client.bottom, bar.bottom);
  EXPECT_EQ(client.right, bar.right);
}

}  // namespace
}  // namespace pellox::testing
