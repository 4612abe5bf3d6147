#include "platform/win32/main_menu.h"

#include <cctype>
#include <string>

#include "platform/win32/control_ids.h"
#include "platform/win32/last_error.h"

namespace pellox::win32 {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string ItemCaption(HMENU menu, int position) {
  char caption[256] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), caption, sizeof caption, MF_BYPOSITION);
  return caption;
}

// The letter after a single "&" ("&&" stands for a plain "&"); 0 for none.
char AccessLetter(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return Upper(caption[i + 1]);
    ++i;
  }
  return 0;
}

}  // namespace

HMENU BuildMainMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  if (!bar || !file) ThrowLastWin32Error();
  for (size_t i = 0; i < layout::kFileMenuItems.size(); ++i) {
    const layout::MenuItem& item = layout::kFileMenuItems[i];
    const bool separator = std::string(item.Caption) == "-";
    AppendMenuA(file, separator ? MF_SEPARATOR : MF_STRING, MenuItemIdOf(i),
                separator ? nullptr : item.Caption);
  }
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), layout::kFileMenu.Caption);
  return bar;
}

LRESULT MenuCharResult(HMENU menu, char letter) {
  const char wanted = Upper(letter);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (AccessLetter(ItemCaption(menu, i)) == wanted) return MAKELRESULT(0, MNC_IGNORE);
  }
  for (int i = 0; i < count; ++i) {
    const std::string caption = ItemCaption(menu, i);
    if (!caption.empty() && Upper(caption[0]) == wanted) return MAKELRESULT(i, MNC_EXECUTE);
  }
  return MAKELRESULT(0, MNC_IGNORE);
}

}  // namespace pellox::win32
