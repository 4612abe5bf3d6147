#include "window/grid_mouse.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace pellox::testing {
namespace {

// 20 rows under the header, 5 of them in view, the current row at `current`.
struct ScrolledGrid : GridModel {
  explicit ScrolledGrid(int current) : GridModel(4, 21, 1) {
    SetVisibleRows(5);
    Click(current, false);
  }
};

TEST(GridMouseTest, DragBelowTheRowsScrollsDownAndExtendsTheBlockToTheLastRowShown) {
  ScrolledGrid grid(1);
  DragScrollStep(grid, false);
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(grid.CurrentRow(), 1);
  EXPECT_EQ(grid.BlockTop(), 1);
  EXPECT_EQ(grid.BlockBottom(), 6);
  DragScrollStep(grid, false);
  EXPECT_EQ(grid.TopRow(), 3);
  EXPECT_EQ(grid.BlockBottom(), 7);
}

TEST(GridMouseTest, DragAboveTheRowsScrollsUpAndExtendsTheBlockToTheTopRow) {
  ScrolledGrid grid(20);
  ASSERT_EQ(grid.TopRow(), 16);
  DragScrollStep(grid, true);
  EXPECT_EQ(grid.TopRow(), 15);
  EXPECT_EQ(grid.CurrentRow(), 20);
  EXPECT_EQ(grid.BlockTop(), 15);
  EXPECT_EQ(grid.BlockBottom(), 20);
}

TEST(GridMouseTest, DragScrollingStopsAtTheListsEnds) {
  ScrolledGrid down(20);
  DragScrollStep(down, false);
  EXPECT_EQ(down.TopRow(), 16);
  EXPECT_EQ(down.BlockTop(), 20);
  EXPECT_EQ(down.BlockBottom(), 20);

  ScrolledGrid up(1);
  DragScrollStep(up, true);
  EXPECT_EQ(up.TopRow(), 1);
  EXPECT_EQ(up.BlockTop(), 1);
  EXPECT_EQ(up.BlockBottom(), 1);
}

TEST(GridMouseTest, WheelDeltasBecomeRowStepsPerWholeNotch) {
  struct Case {
    const char* label;
    std::vector<int> deltas;
    std::vector<int> steps;
  };
  const Case cases[] = {
      {"a notch away from the user moves up", {120}, {-1}},
      {"a notch towards the user moves down", {-120}, {1}},
      {"several notches at once", {360, -240}, {-3, 2}},
      {"parts of a notch add up", {40, 40, 40, 40}, {0, 0, -1, 0}},
      {"the rest is kept past a whole notch", {100, 100, 100}, {0, -1, -1}},
      {"turning back cancels a part", {-60, 60, -120}, {0, 0, 1}},
  };
  for (const Case& c : cases) {
    WheelSteps wheel;
    std::vector<int> steps;
    for (int delta : c.deltas) steps.push_back(wheel.Take(delta));
    EXPECT_EQ(steps, c.steps) << c.label;
  }
}

TEST(GridMouseTest, ADroppedBorderSetsTheWidthOnlyWhenItIsMoreThanOnePixel) {
  for (const auto& [width, kept] : {std::pair{2, 2}, {94, 94}, {1, 64}, {0, 64}, {-20, 64}}) {
    GridModel grid(4, 2, 1);
    grid.SetColWidth(1, 64);
    DropColumnBorder(grid, 1, width);
    EXPECT_EQ(grid.ColWidth(1), kept) << "dropped at " << width;
  }
}

}  // namespace
}  // namespace pellox::testing
