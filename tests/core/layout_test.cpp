#include "window/layout.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "window/edit_fields.h"

namespace pellox::testing {
namespace {

using layout::ControlById;
using layout::DialogPosition;
using layout::PanelEdges;
using layout::Point;
using layout::Rect;
using layout::StatusPanelEdges;
using layout::TabStops;

TEST(LayoutTest, TabMovesThroughTheFocusableControlsInTheLayoutsOrder) {
  std::vector<std::string> names;
  for (const layout::Control* control : TabStops()) names.push_back(control->Name);
  const std::vector<std::string> expected = {"ComboBox1", "Edit1",       "Edit2",   "Button1",
                                             "Edit3",     "StringGrid1", "Button2", "Button3",
                                             "Button4",   "Button5",     "Button6", "Button7"};
  EXPECT_EQ(names, expected);
}

TEST(LayoutTest, StatusPanelsSitSideBySideAndTheLastReachesTheBarsEnd) {
  struct Case {
    const char* label;
    int barWidth;
    std::array<PanelEdges, 3> edges;
  };
  const Case cases[] = {
      {"the layout's bar", 637, {{{0, 40}, {40, 340}, {340, 637}}}},
      {"a wider bar", 1000, {{{0, 40}, {40, 340}, {340, 1000}}}},
      {"a bar narrower than the fixed panels", 300, {{{0, 40}, {40, 340}, {340, 300}}}},
  };
  for (const Case& c : cases) {
    const auto edges = StatusPanelEdges(c.barWidth);
    for (size_t i = 0; i < edges.size(); ++i) {
      EXPECT_EQ(edges[i].Left, c.edges[i].Left) << c.label << ", panel " << i;
      EXPECT_EQ(edges[i].Right, c.edges[i].Right) << c.label << ", panel " << i;
    }
  }
}

TEST(LayoutTest, DialogsOpenCentredAcrossAndAThirdDown) {
  struct Case {
    const char* label;
    Rect area;
    int width, height;
    Point expected;
  };
  const Case cases[] = {
      {"a screen at the origin", {0, 0, 1280, 1024}, 600, 400, {340, 208}},
      {"a second screen to the right", {1280, 0, 1920, 1080}, 500, 300, {1990, 260}},
      {"a screen above the first", {0, -768, 1024, 768}, 400, 300, {312, -612}},
      {"odd room rounds towards the area's start", {0, 0, 101, 101}, 0, 0, {50, 33}},
      {"a dialog larger than the screen", {0, 0, 800, 600}, 1000, 900, {-100, -100}},
  };
  for (const Case& c : cases) {
    const Point at = DialogPosition(c.area, c.width, c.height);
    EXPECT_EQ(at.X, c.expected.X) << c.label;
    EXPECT_EQ(at.Y, c.expected.Y) << c.label;
  }
}

TEST(LayoutTest, AssistiveTechnologyHearsEachFocusableControlByItsLabelOrCaption) {
  struct Case {
    layout::ControlId id;
    const char* name;
    const char* description;
  };
  const Case cases[] = {
      {layout::ControlId::ComboBox1, "Printer", ""},
      {layout::ControlId::Edit1, "DelayTime", "[s]"},
      {layout::ControlId::Edit2, "ExeName", ""},
      {layout::ControlId::Button1, "Browse", ""},
      {layout::ControlId::Edit3, "Parameter", ""},
      {layout::ControlId::StringGrid1, "Run list", ""},
      {layout::ControlId::Button2, "Add", ""},
      {layout::ControlId::Button3, "Insert", ""},
      {layout::ControlId::Button4, "Delete", ""},
      {layout::ControlId::Button5, "Edit", ""},
      {layout::ControlId::Button6, "Pick", ""},
      {layout::ControlId::Button7, "Run", ""},
      // The labels are heard as they read; the status bar by its panels.
      {layout::ControlId::Label1, "DelayTime:", ""},
      {layout::ControlId::StatusBar1, "", ""},
  };
  for (const Case& c : cases) {
    const layout::Control& control = ControlById(c.id);
    EXPECT_EQ(layout::AccessibleName(control), c.name) << control.Name;
    EXPECT_EQ(layout::AccessibleDescription(control), c.description) << control.Name;
  }
  // Nothing that takes the focus goes unnamed.
  for (const layout::Control* stop : TabStops()) {
    EXPECT_FALSE(layout::AccessibleName(*stop).empty()) << stop->Name;
  }
}

TEST(LayoutTest, EachEditFieldIsTheEditControlOfItsName) {
  EXPECT_STREQ(ControlById(ControlOf(EditField::Edit1)).Name, "Edit1");
  EXPECT_STREQ(ControlById(ControlOf(EditField::Edit2)).Name, "Edit2");
  EXPECT_STREQ(ControlById(ControlOf(EditField::Edit3)).Name, "Edit3");
}

}  // namespace
}  // namespace pellox::testing
