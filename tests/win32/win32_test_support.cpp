#include "win32_test_support.h"

#include <dlgs.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <tuple>

#include "accessibility_support.h"
#include "temp_folder.h"

namespace pellox::testing {

std::vector<MarkerStart> MarkerStarts(const std::string& folder) {
  std::vector<MarkerStart> starts;
  for (const std::string& name : NamesIn(folder)) {
    if (!name.ends_with(".done")) continue;  // still being written
    const std::string text = ReadFile((folder + kPathSeparator).append(name));
    const size_t lineEnd = text.find('\n');
    if (lineEnd == std::string::npos) continue;
    starts.push_back({text.substr(0, lineEnd), text.substr(lineEnd + 1)});
  }
  std::sort(starts.begin(), starts.end(), [](const MarkerStart& a, const MarkerStart& b) {
    return std::tie(a.Created, a.CommandLine) < std::tie(b.Created, b.CommandLine);
  });
  return starts;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ClassOf(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  return Lower(name);
}

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto item = static_cast<WPARAM>(i);
    std::string text(static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, item, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(text);
  }
  return items;
}

void PutTextOnClipboard(const std::string& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  char* bytes = static_cast<char*>(GlobalLock(memory));
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  // Another process (Wine's clipboard manager) may hold it for a moment.
  WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, 10000);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

namespace {

SeenBox g_box;
HWND g_boxOwner = nullptr;

std::wstring WideWindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK FindBox(HWND window, LPARAM) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) != L"#32770" || GetWindow(window, GW_OWNER) != g_boxOwner) {
    return TRUE;
  }
  g_box.Found = true;
  g_box.OwnerDisabled = g_boxOwner && !IsWindowEnabled(g_boxOwner);
  g_box.Caption = WideWindowText(window);
  HWND text = GetDlgItem(window, 0xFFFF);  // the message's static text
  g_box.Text = WideWindowText(text);
  g_box.AccessibleCaption = NameOf({ClientObjectOf(window), CHILDID_SELF});
  g_box.AccessibleText = NameOf({ClientObjectOf(text), CHILDID_SELF});
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

void CALLBACK ConfirmBox(HWND, UINT, UINT_PTR id, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, 0);
  if (g_box.Found) KillTimer(nullptr, id);
}

}  // namespace

SeenBox ReadMessageBox(HWND owner, const std::function<void()>& open) {
  g_boxOwner = owner;
  g_box = SeenBox();
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, &ConfirmBox);
  open();
  KillTimer(nullptr, timer);
  return g_box;
}

std::vector<HWND> TaskbarWindows(DWORD processId) {
  struct Search {
    DWORD ProcessId;
    std::vector<HWND> Found;
  } windows{processId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = win32::IntegerAs<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->ProcessId || !IsWindowVisible(window)) return TRUE;
        const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
        const bool plain = !GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW);
        if ((exStyle & WS_EX_APPWINDOW) || plain) search->Found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows.Found;
}

HWND VisibleDialogOf(DWORD processId) {
  struct Search {
    DWORD ProcessId;
    HWND Found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = win32::IntegerAs<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (owner != s->ProcessId || std::string(name) != "#32770" || !IsWindowVisible(window)) {
          return TRUE;
        }
        s->Found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

void AnswerFileDialog(HWND dialog, const std::string& name, bool confirm) {
  HWND field = GetDlgItem(dialog, cmb13);
  if (!field) field = GetDlgItem(dialog, edt1);
  SetWindowTextA(field, name.c_str());
  const int button = confirm ? IDOK : IDCANCEL;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

std::string WinePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string OwnFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    DrainMessages();
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void SetKeyHeld(int key, bool held) {
  BYTE state[256];
  GetKeyboardState(state);
  state[key] = held ? 0x80 : 0;
  SetKeyboardState(state);
}

std::optional<std::vector<std::string>> PrivateCupsPrinters() {
  const char* names = std::getenv("PELLOX_PRIVATE_CUPS");
  if (names == nullptr) return std::nullopt;
  std::vector<std::string> printers;
  std::istringstream words(names);
  for (std::string name; words >> name;) printers.push_back(name);
  return printers;
}

std::vector<std::string> SystemPrinterNames() {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  std::vector<std::string> names;
  if (needed == 0 || !EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) {
    return names;
  }
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) names.push_back(info[i].pPrinterName);
  return names;
}

std::string DeviceValue() {
  char value[1024] = {};
  GetProfileStringA("windows", "device", "", value, sizeof value);
  return value;
}

std::string SystemDefaultPrinter() {
  char name[1024] = {};
  DWORD size = sizeof name;
  return GetDefaultPrinterA(name, &size) ? name : "";
}

SavedDeviceValue::~SavedDeviceValue() { WriteProfileStringA("windows", "device", saved_.c_str()); }

}  // namespace pellox::testing
