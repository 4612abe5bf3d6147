// Choosing a menu item by a typed letter. An open menu takes a letter that
// is some item's access letter (the one after "&") the usual way; any other
// letter chooses the first item whose caption begins with it, so "Exit(X)",
// which has no access letter of its own, is chosen with E. The front ends
// hand over the open menu's captions and apply the choice.
// System-independent code only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pellox {

enum class MenuLetter {
  AccessLetter,  // some item's access letter: the menu's own handling applies
  FirstLetter,   // the item at Index begins with the letter
  NoItem,        // no item begins with it: nothing is chosen
};

struct MenuLetterChoice {
  MenuLetter Kind;
  size_t Index = 0;
};

// `captions` are the menu's items in order, "&" marking access letters and
// "&&" standing for a plain "&"; items that cannot be chosen (separators)
// are given as "". Letters compare without regard to case.
MenuLetterChoice ChooseMenuItemByLetter(const std::vector<std::string>& captions, char letter);

}  // namespace pellox
