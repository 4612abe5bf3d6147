#include "window/menu_letter.h"

#include <cctype>

namespace pellox {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The letter after a single "&"; 0 for none.
char AccessLetter(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return Upper(caption[i + 1]);
    ++i;
  }
  return 0;
}

// The first character the menu shows: a leading "&" marks, it is not shown.
char FirstShown(const std::string& caption) {
  if (caption.size() > 1 && caption[0] == '&') return Upper(caption[1]);
  return caption.empty() ? '\0' : Upper(caption[0]);
}

}  // namespace

MenuLetterChoice ChooseMenuItemByLetter(const std::vector<std::string>& captions, char letter) {
  const char wanted = Upper(letter);
  if (wanted == 0) return {MenuLetter::NoItem};
  for (const std::string& caption : captions) {
    if (AccessLetter(caption) == wanted) return {MenuLetter::AccessLetter};
  }
  for (size_t i = 0; i < captions.size(); ++i) {
    if (FirstShown(captions[i]) == wanted) return {MenuLetter::FirstLetter, i};
  }
  return {MenuLetter::NoItem};
}

}  // namespace pellox
