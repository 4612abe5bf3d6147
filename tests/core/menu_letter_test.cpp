#include "window/menu_letter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/layout.h"

namespace pellox::testing {
namespace {

// The File menu as it is shown: separators take no letter.
std::vector<std::string> FileMenuCaptions() {
  std::vector<std::string> captions;
  for (const layout::MenuItem& item : layout::kFileMenuItems) {
    captions.push_back(std::string(item.Caption) == "-" ? "" : item.Caption);
  }
  return captions;
}

TEST(MenuLetterTest, TheFileMenuAnswersEachLetter) {
  struct Case {
    char letter;
    MenuLetter kind;
    size_t index;
  };
  const Case cases[] = {
      {'N', MenuLetter::AccessLetter, 0}, {'o', MenuLetter::AccessLetter, 0},
      {'s', MenuLetter::AccessLetter, 0}, {'E', MenuLetter::FirstLetter, 5},
      {'e', MenuLetter::FirstLetter, 5},  {'X', MenuLetter::NoItem, 0},
      {'A', MenuLetter::NoItem, 0},       {'7', MenuLetter::NoItem, 0},
      {'\0', MenuLetter::NoItem, 0},
  };
  for (const Case& c : cases) {
    const MenuLetterChoice choice = ChooseMenuItemByLetter(FileMenuCaptions(), c.letter);
    EXPECT_EQ(choice.Kind, c.kind) << "letter " << int{c.letter};
    EXPECT_EQ(choice.Index, c.index) << c.letter;
  }
}

TEST(MenuLetterTest, AccessMarksAreReadLikeTheMenuShowsThem) {
  struct Case {
    const char* label;
    std::vector<std::string> captions;
    char letter;
    MenuLetter kind;
    size_t index;
  };
  const Case cases[] = {
      {"an escaped & marks nothing", {"R&&D", "Rerun"}, 'D', MenuLetter::NoItem, 0},
      {"the first of equal letters wins", {"Alpha", "", "apple"}, 'a', MenuLetter::FirstLetter, 0},
      {"a leading mark is not shown", {"&Go"}, 'G', MenuLetter::AccessLetter, 0},
      {"a shown & begins a caption", {"x", "&&more"}, '&', MenuLetter::FirstLetter, 1},
      {"an access letter anywhere comes first",
       {"Exit", "Quit(&E)"},
       'E',
       MenuLetter::AccessLetter,
       0},
      {"separators are skipped", {"", "", "Bye"}, 'b', MenuLetter::FirstLetter, 2},
  };
  for (const Case& c : cases) {
    const MenuLetterChoice choice = ChooseMenuItemByLetter(c.captions, c.letter);
    EXPECT_EQ(choice.Kind, c.kind) << c.label;
    EXPECT_EQ(choice.Index, c.index) << c.label;
  }
}

}  // namespace
}  // namespace pellox::testing
