#include "window/file_dialog.h"

#include <gtest/gtest.h>

namespace pellox::testing {
namespace {

TEST(ParseFilterTest, SplitsIntoDescriptionsAndPatterns) {
  std::vector<FilterChoice> two = ParseFilter("EXE Files(*.exe)|*.exe|All Files(*.*)|*.*");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].Description, "EXE Files(*.exe)");
  EXPECT_EQ(two[0].Pattern, "*.exe");
  EXPECT_EQ(two[1].Description, "All Files(*.*)");
  EXPECT_EQ(two[1].Pattern, "*.*");

  std::vector<FilterChoice> one = ParseFilter("FileList Files(*.lst)|*.lst");
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].Pattern, "*.lst");
  EXPECT_TRUE(ParseFilter("").empty());
}

TEST(ApplyDefaultExtTest, OnlyNamesWithoutExtensionGetIt) {
  EXPECT_EQ(ApplyDefaultExt("/tmp/abc", "lst", "/"), "/tmp/abc.lst");
  EXPECT_EQ(ApplyDefaultExt("/tmp/abc.txt", "lst", "/"), "/tmp/abc.txt");
  EXPECT_EQ(ApplyDefaultExt("/tmp/abc", "", "/"), "/tmp/abc");
  EXPECT_EQ(ApplyDefaultExt("/tmp.d/abc", "lst", "/"), "/tmp.d/abc.lst");
  EXPECT_EQ(ApplyDefaultExt("C:\\a.d\\abc", "lst", "\\:"), "C:\\a.d\\abc.lst");
}

TEST(FileDialogStateTest, KeepsNameAndFilterChoiceUnlessTheCommandSetsThem) {
  FileDialogState state;
  state.Prepare({"/a/", "f", "lst", std::nullopt});
  state.Confirm("/a/x.lst", 1);
  state.Prepare({"/b/", "g", "", std::nullopt});
  EXPECT_EQ(state.FileName, "/a/x.lst");
  state.Confirm("/b/y", 2);
  state.Prepare({"/a/", "f", "lst", std::string()});
  EXPECT_EQ(state.FileName, "");
  EXPECT_EQ(state.FilterIndex, 2);
}

}  // namespace
}  // namespace pellox::testing
