#include "platform/win32/main_menu.h"

#include <string>
#include <vector>

#include "platform/win32/control_ids.h"
#include "platform/windows/last_error.h"
#include "window/menu_letter.h"

namespace pellox::win32 {

namespace {

std::string ItemCaption(HMENU menu, int position) {
  char caption[256] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), caption, sizeof caption, MF_BYPOSITION);
  return caption;
}

}  // namespace

HMENU BuildMainMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  if (!bar || !file) ThrowLastWin32Error();
  for (size_t i = 0; i < layout::kFileMenuItems.size(); ++i) {
    const layout::MenuItem& item = layout::kFileMenuItems[i];
    const bool separator = std::string(item.Caption) == "-";
    AppendMenuA(file, separator ? MF_SEPARATOR : MF_STRING, static_cast<UINT_PTR>(MenuItemIdOf(i)),
                separator ? nullptr : item.Caption);
  }
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), layout::kFileMenu.Caption);
  return bar;
}

LRESULT MenuCharResult(HMENU menu, char letter) {
  std::vector<std::string> captions;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) captions.push_back(ItemCaption(menu, i));
  const MenuLetterChoice choice = ChooseMenuItemByLetter(captions, letter);
  switch (choice.Kind) {
    case MenuLetter::AccessLetter:  // the system has handled it already
    case MenuLetter::NoItem:
      return MAKELRESULT(0, MNC_IGNORE);
    case MenuLetter::FirstLetter:
      break;
  }
  return MAKELRESULT(choice.Index, MNC_EXECUTE);
}

}  // namespace pellox::win32
