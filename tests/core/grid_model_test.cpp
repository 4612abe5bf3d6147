#include "window/grid_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "window/layout.h"

namespace pellox::testing {
namespace {

GridModel Grid(int rows) { return GridModel(4, rows, 1); }

TEST(CellStoreTest, CellsOutliveTheRowCount) {
  GridModel grid = Grid(3);
  grid.SetCell(2, 5, "late");
  EXPECT_EQ(grid.Cell(2, 5), "late");
  grid.SetRowCount(6);
  EXPECT_EQ(grid.Cell(2, 5), "late");

  for (int row = 1; row < 6; ++row) grid.SetCell(1, row, "r" + std::to_string(row));
  grid.SetRowCount(2);
  grid.SetRowCount(6);
  for (int row = 1; row < 6; ++row) EXPECT_EQ(grid.Cell(1, row), "r" + std::to_string(row));
}

TEST(CellStoreTest, NeverWrittenCellsReadEmptyAndWritesReplace) {
  GridModel grid = Grid(2);
  EXPECT_EQ(grid.Cell(3, 1000), "");
  grid.SetCell(0, 1, "a");
  grid.SetCell(0, 1, "");
  EXPECT_EQ(grid.Cell(0, 1), "");
  std::string binary("x\0y\r\n\xff", 6);
  std::string longText(1000, 'z');
  grid.SetCell(1, 1, binary);
  grid.SetCell(3, 1, longText);
  grid.SetCell(2, 1, "mid");
  EXPECT_EQ(grid.Cell(1, 1), binary);
  EXPECT_EQ(grid.Cell(2, 1), "mid");
  EXPECT_EQ(grid.Cell(3, 1), longText);
}

TEST(CellStoreTest, ARowWrittenAtOnceKeepsTheColumnsPastTheCellsGiven) {
  CellStore store(4);
  const std::vector<std::string_view> full = {"a", "b", "c", "d", "past the columns"};
  store.SetRow(3, full);
  EXPECT_EQ(store.StoredRows(), 4);
  const std::vector<std::string_view> two = {"x", ""};
  store.SetRow(3, two);
  EXPECT_EQ(store.Cell(0, 3), "x");
  EXPECT_EQ(store.Cell(1, 3), "");
  EXPECT_EQ(store.Cell(2, 3), "c");
  EXPECT_EQ(store.Cell(3, 3), "d");
  EXPECT_EQ(store.Cell(4, 3), "");

  const std::vector<std::string_view> empty = {"", "", "", ""};
  store.SetRow(9, empty);  // reads the same unwritten
  EXPECT_EQ(store.StoredRows(), 4);
}

TEST(CellStoreTest, CellsMayBeWrittenFromTheStoreItself) {
  CellStore store(4);
  const std::vector<std::string_view> first = {"one", "two", "three", "four"};
  store.SetRow(1, first);
  const std::vector<std::string_view> copied = {store.Cell(3, 1), store.Cell(2, 1)};
  store.SetRow(2, copied);
  store.SetCell(0, 1, store.Cell(3, 1));
  store.SetCell(1, 1, store.Cell(1, 1));
  EXPECT_EQ(store.Cell(0, 2), "four");
  EXPECT_EQ(store.Cell(1, 2), "three");
  EXPECT_EQ(store.Cell(0, 1), "four");
  EXPECT_EQ(store.Cell(1, 1), "two");
}

// Counts the bytes of the blocks a store holds.
class CountingMemory : public BlockMemory {
 public:
  char* Allocate(size_t size) override {
    held += size;
    peak = std::max(peak, held);
    return new char[size];
  }
  void Free(char* block, size_t size) override {
    held -= size;
    delete[] block;
  }
  size_t held = 0;
  size_t peak = 0;
};

TEST(CellStoreTest, RowsWrittenOverAndOverKeepTheirTextAndLittleMemory) {
  constexpr int kRows = 1000;
  constexpr int kRounds = 50;
  CountingMemory memory;
  {
    CellStore store(4, memory);
    std::vector<std::vector<std::string>> expected(kRows + 1);
    for (int round = 0; round < kRounds; ++round) {
      for (int row = 1; row <= kRows; ++row) {
        std::vector<std::string>& texts = expected[static_cast<size_t>(row)];
        texts = {std::to_string(row), std::to_string(round),
                 std::string(100 + static_cast<size_t>(round + row) % 50, 'p'),
                 "parameter " + std::to_string(round * row)};
        if (row % 2 == 0) {
          for (int column = 0; column < 4; ++column) {
            store.SetCell(column, row, texts[static_cast<size_t>(column)]);
          }
        } else {
          const std::vector<std::string_view> cells(texts.begin(), texts.end());
          store.SetRow(row, cells);
        }
      }
    }
    for (int row = 1; row <= kRows; ++row) {
      for (int column = 0; column < 4; ++column) {
        ASSERT_EQ(store.Cell(column, row),
                  expected[static_cast<size_t>(row)][static_cast<size_t>(column)])
            << "row " << row << ", column " << column;
      }
    }
    // About 150 kB of current cells, written 50 times and more (a cell at
    // a time): without the outdated ones given back, far more than this.
    EXPECT_LT(memory.peak, 8u * 1024 * 1024);
  }
  EXPECT_EQ(memory.held, 0u);
}

TEST(GridModelTest, ShrinkingMovesTheCurrentRowToTheNewLastRow) {
  GridModel grid = Grid(7);
  grid.Click(5, false);
  EXPECT_TRUE(grid.SetRowCount(2));
  EXPECT_EQ(grid.CurrentRow(), 1);
  EXPECT_FALSE(grid.SetRowCount(2));
}

TEST(GridModelTest, RowCountChangeCollapsesTheBlockAndScrollsIntoView) {
  GridModel grid = Grid(20);
  grid.SetVisibleRows(5);
  grid.Click(3, false);
  grid.Click(6, true);
  EXPECT_EQ(grid.CurrentRow(), 3);
  EXPECT_EQ(grid.BlockTop(), 3);
  EXPECT_EQ(grid.BlockBottom(), 6);
  grid.SetRowCount(21);
  EXPECT_EQ(grid.BlockTop(), 3);
  EXPECT_EQ(grid.BlockBottom(), 3);

  grid.Key(GridKey::End, false, false);
  EXPECT_EQ(grid.TopRow(), 16);
  grid.SetRowCount(4);
  EXPECT_EQ(grid.CurrentRow(), 3);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST(GridModelTest, ScrollToKeepsTheRowsWithinTheListAndLeavesTheSelection) {
  GridModel grid = Grid(20);  // rows 1 to 19
  grid.SetVisibleRows(5);
  grid.Click(3, false);
  grid.Click(4, true);
  const struct {
    int Requested;
    int Shown;
  } cases[] = {{9, 9}, {15, 15}, {16, 15}, {1 << 30, 15}, {0, 1}, {-(1 << 30), 1}};
  for (const auto& c : cases) {
    grid.ScrollTo(c.Requested);
    EXPECT_EQ(c.Shown, grid.TopRow()) << c.Requested;
    EXPECT_EQ(3, grid.CurrentRow());
    EXPECT_EQ(4, grid.BlockBottom());
  }
  GridModel fits = Grid(3);
  fits.SetVisibleRows(5);
  fits.ScrollTo(2);
  EXPECT_EQ(1, fits.TopRow());
}

TEST(GridModelTest, ClicksOnTheHeaderChangeNothing) {
  GridModel grid = Grid(5);
  grid.Click(2, false);
  grid.Click(0, false);
  EXPECT_EQ(grid.CurrentRow(), 2);
}

struct KeyCase {
  const char* label;
  GridKey key;
  bool shift, ctrl;
  int currentBefore;
  int currentAfter;
  int topAfter;
};

class GridKeyTest : public ::testing::TestWithParam<KeyCase> {};

// 30 rows (29 data rows), 10 fully visible, rows 11 to 20 shown.
TEST_P(GridKeyTest, MovesTheCurrentRow) {
  const KeyCase& c = GetParam();
  GridModel grid = Grid(30);
  grid.SetVisibleRows(10);
  grid.Click(20, false);
  grid.Click(11, false);
  grid.Click(c.currentBefore, false);
  grid.Key(c.key, c.shift, c.ctrl);
  EXPECT_EQ(grid.CurrentRow(), c.currentAfter) << c.label;
  EXPECT_EQ(grid.TopRow(), c.topAfter) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, GridKeyTest,
    ::testing::Values(KeyCase{"down", GridKey::Down, false, false, 15, 16, 11},
                      KeyCase{"right", GridKey::Right, false, false, 15, 16, 11},
                      KeyCase{"up", GridKey::Up, false, false, 15, 14, 11},
                      KeyCase{"left", GridKey::Left, false, false, 15, 14, 11},
                      KeyCase{"up stops at row 1", GridKey::Up, false, false, 1, 1, 1},
                      KeyCase{"down scrolls", GridKey::Down, false, false, 20, 21, 12},
                      KeyCase{"page down", GridKey::PageDown, false, false, 15, 24, 20},
                      KeyCase{"page up", GridKey::PageUp, false, false, 15, 6, 2},
                      KeyCase{"home", GridKey::Home, false, false, 15, 1, 1},
                      KeyCase{"ctrl home", GridKey::Home, false, true, 15, 1, 1},
                      KeyCase{"end", GridKey::End, false, false, 15, 29, 20},
                      KeyCase{"ctrl page up", GridKey::PageUp, false, true, 15, 11, 11},
                      KeyCase{"ctrl page down", GridKey::PageDown, false, true, 15, 20, 11},
                      KeyCase{"ctrl down scrolls only", GridKey::Down, false, true, 15, 15, 12},
                      KeyCase{"ctrl up scrolls only", GridKey::Up, false, true, 15, 15, 10},
                      KeyCase{"ctrl left nothing", GridKey::Left, false, true, 15, 15, 11},
                      KeyCase{"ctrl right nothing", GridKey::Right, false, true, 15, 15, 11}));

TEST(GridModelTest, PageStepIsAtLeastOneRow) {
  GridModel grid = Grid(10);
  grid.SetVisibleRows(1);
  grid.Key(GridKey::PageDown, false, false);
  EXPECT_EQ(grid.CurrentRow(), 2);
}

TEST(GridModelTest, ShiftExtendsTheBlockFromWhereTheSelectionStarted) {
  GridModel grid = Grid(10);
  grid.SetVisibleRows(5);
  grid.Click(3, false);
  grid.Key(GridKey::Down, true, false);
  grid.Key(GridKey::Down, true, false);
  EXPECT_EQ(grid.CurrentRow(), 5);
  EXPECT_EQ(grid.BlockTop(), 3);
  EXPECT_EQ(grid.BlockBottom(), 5);
  grid.Key(GridKey::Down, false, false);
  EXPECT_EQ(grid.BlockTop(), 6);
  EXPECT_EQ(grid.BlockBottom(), 6);
}

TEST(GridModelTest, WheelMovesTheCurrentRowWithinTheList) {
  GridModel grid = Grid(4);
  grid.Wheel(2);
  EXPECT_EQ(grid.CurrentRow(), 3);
  grid.Wheel(5);
  EXPECT_EQ(grid.CurrentRow(), 3);
  grid.Wheel(-9);
  EXPECT_EQ(grid.CurrentRow(), 1);
}

// Every notice the grid gives, as "<change>:<index>".
class NoticeLog final : public GridObserver {
 public:
  void GridChanged(GridChange change, int index) override {
    static const char* const kNames[] = {"Cell", "Rows", "Selection", "ColumnWidth", "All"};
    notices.push_back(std::string(kNames[static_cast<int>(change)]) + ":" + std::to_string(index));
  }
  std::vector<std::string> notices;
};
using Notices = std::vector<std::string>;

TEST(GridModelNoticeTest, EachChangeIsToldOnceAndNothingWhenNothingChanged) {
  GridModel grid = Grid(3);
  NoticeLog log;
  grid.SetObserver(&log);
  grid.SetVisibleRows(5);  // all rows in view already: nothing moves
  grid.SetCell(1, 2, "x");
  grid.SetRowCount(3);  // the same count
  grid.SetRowCount(6);
  grid.Key(GridKey::Down, false, false);
  grid.Key(GridKey::Up, false, false);
  grid.Key(GridKey::Up, false, false);  // already at the top
  grid.Click(4, true);
  grid.Click(0, false);  // a fixed row
  grid.Wheel(1);
  grid.ScrollTo(1);  // all rows in view: the list stays where it is
  grid.SetColWidth(2, 99);
  grid.SetColWidth(2, 99);
  EXPECT_EQ(log.notices, (Notices{"Cell:2", "Rows:0", "Selection:0", "Selection:0", "Selection:0",
                                  "Selection:0", "ColumnWidth:2"}));
  grid.SetObserver(nullptr);
  grid.SetCell(1, 1, "unheard");
  EXPECT_EQ(log.notices.size(), 7u);
}

TEST(GridModelNoticeTest, ABulkChangeIsToldOnceAtItsEndAndOnlyWhenSomethingChanged) {
  GridModel grid = Grid(2);
  NoticeLog log;
  grid.SetObserver(&log);
  {
    GridModel::BulkChange outer(grid);
    grid.SetRowCount(1001);
    {
      GridModel::BulkChange inner(grid);
      for (int row = 1; row <= 1000; ++row) grid.SetCell(0, row, std::to_string(row));
    }
    EXPECT_TRUE(log.notices.empty());
    grid.SetColWidth(1, 50);
  }
  EXPECT_EQ(log.notices, (Notices{"All:0"}));
  { GridModel::BulkChange nothing(grid); }
  EXPECT_EQ(log.notices.size(), 1u);
  EXPECT_EQ(grid.Cell(0, 1000), "1000");
  EXPECT_EQ(grid.ColWidth(1), 50);
}

TEST(GridModelTest, TheRunListGridIsBuiltFromTheLayout) {
  GridModel grid;
  EXPECT_EQ(grid.Columns(), layout::kGridColumns);
  EXPECT_EQ(grid.RowCount(), layout::kGridLayoutRowCount);
  EXPECT_EQ(grid.CurrentRow(), layout::kGridFixedRows);
  for (int column = layout::kNo; column <= layout::kParameter; ++column) {
    EXPECT_EQ(grid.ColWidth(column), layout::kGridDefaultColWidth);
    EXPECT_EQ(grid.Cell(column, 0), "");
  }
}

}  // namespace
}  // namespace pellox::testing
