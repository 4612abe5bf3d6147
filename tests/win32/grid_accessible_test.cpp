// The run-list grid as a screen reader meets it under Wine, in the test
// process: the table that WM_GETOBJECT gives (rows, cells, names, values,
// states, locations, hit tests, navigation), its focus and selection after
// the keys, clicks and wheel turns of grid_cases.h and after the editing
// commands, the WinEvents that announce them, and a table that outlives
// its window without harm.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "accessibility_support.h"
#include "grid_control_fixture.h"
#include "platform/win32/accessible_object.h"
#include "platform/win32/control_ids.h"
#include "temp_folder.h"

namespace pellox::testing {
namespace {

using layout::ControlId;
using win32::ChildVariant;
using Names = std::vector<std::string>;

// The name a row of entries numbered by their rows has, as GridAccessibleTest
// fills them.
std::string NumberedRow(int row) { return "No. " + std::to_string(row); }

class GridAccessibleTest : public GridControlTest {
 protected:
  void SetUp() override {
    GridControlTest::SetUp();
    table_ = ClientObjectOf(grid_);
    ASSERT_TRUE(table_) << "the grid gives no accessible object";
  }

  // Loads a list file of `entries` (delay, program, parameter each).
  void Load(const std::vector<std::vector<std::string>>& entries) {
    std::string text = "0\r\n" + std::to_string(entries.size()) + "\r\n";
    for (const auto& entry : entries) {
      for (const std::string& line : entry) text += line + "\r\n";
    }
    WriteFile(folder_ / "list.lst", text);
    ASSERT_TRUE(program_.Form().LoadList(folder_ / "list.lst"));
  }
  // `rows` data rows whose "No." cells hold their numbers.
  void NumberRows(int rows) {
    SetRows(rows + 1);
    for (int row = 1; row <= rows; ++row) {
      program_.Form().StringGrid1.SetCell(layout::kNo, row, std::to_string(row));
    }
  }
  Element Row(int row) { return ChildOf(table_.Get(), row + 1); }
  std::string FocusName() {
    VARIANT focus;
    VariantInit(&focus);
    if (table_->get_accFocus(&focus) != S_OK) return "(no focus)";
    const std::optional<Element> element = ElementOf(table_.Get(), focus);
    VariantClear(&focus);
    return element ? NameOf(*element) : "(no focus)";
  }
  Names SelectionNames() {
    VARIANT selection;
    VariantInit(&selection);
    table_->get_accSelection(&selection);
    return testing::SelectionNames(table_.Get(), selection);
  }
  // A point of the screen in the grid's client area.
  POINT OnScreen(int x, int y) {
    POINT point{x, y};
    ClientToScreen(grid_, &point);
    return point;
  }
  // The client rectangle of an accessible location.
  RECT InClient(RECT screen) {
    MapWindowPoints(nullptr, grid_, reinterpret_cast<POINT*>(&screen), 2);
    return screen;
  }
  Element HitTest(IAccessible* object, POINT point) {
    VARIANT hit;
    VariantInit(&hit);
    object->accHitTest(point.x, point.y, &hit);
    const std::optional<Element> element = ElementOf(object, hit);
    VariantClear(&hit);
    return element.value_or(Element{});
  }

  TempFolder folder_;
  ComPtr<IAccessible> table_;
};

TEST_F(GridAccessibleTest, AfterALoadTheTableHoldsTheHeadingsAndEachEntrysCells) {
  ASSERT_NO_FATAL_FAILURE(Load({{"5", "C:\\tools\\a.exe", "-x \"y z\""},
                                {"0", "notepad.exe", ""},
                                {"$1E", "", "only a parameter"}}));
  const Element table{table_, CHILDID_SELF};
  EXPECT_EQ(ROLE_SYSTEM_TABLE, RoleOf(table));
  EXPECT_EQ("Run list", NameOf(table));
  ASSERT_EQ(4, ChildCountOf(table_.Get()));  // the heading row and three entries

  struct RowCase {
    int row;
    LONG cellRole;
    const char* name;
    std::vector<std::string> values;  // the cells' values, empty for headings
  };
  const RowCase rows[] = {
      {0, ROLE_SYSTEM_COLUMNHEADER, "No., Delay, ExeName, Parameter", {"", "", "", ""}},
      {1,
       ROLE_SYSTEM_CELL,
       "No. 1, Delay 5, ExeName C:\\tools\\a.exe, Parameter -x \"y z\"",
       {"1", "5", "C:\\tools\\a.exe", "-x \"y z\""}},
      {2, ROLE_SYSTEM_CELL, "No. 2, Delay 0, ExeName notepad.exe", {"2", "0", "notepad.exe", ""}},
      {3,
       ROLE_SYSTEM_CELL,
       "No. 3, Delay $1E, Parameter only a parameter",
       {"3", "$1E", "", "only a parameter"}},
  };
  const char* const headings[] = {"No.", "Delay", "ExeName", "Parameter"};
  for (const RowCase& c : rows) {
    SCOPED_TRACE("row " + std::to_string(c.row));
    const Element row = Row(c.row);
    ASSERT_NE(row.Object.Get(), table_.Get()) << "a row is an object of its own";
    EXPECT_EQ(ROLE_SYSTEM_ROW, RoleOf(row));
    EXPECT_EQ(c.name, NameOf(row));
    ASSERT_EQ(4, ChildCountOf(row.Object.Get()));
    for (LONG cell = 1; cell <= 4; ++cell) {
      const Element element = ChildOf(row.Object.Get(), cell);
      EXPECT_EQ(row.Object.Get(), element.Object.Get()) << "a cell is a simple element of its row";
      EXPECT_EQ(c.cellRole, RoleOf(element)) << cell;
      EXPECT_EQ(headings[cell - 1], NameOf(element)) << cell;
      EXPECT_EQ(c.values[static_cast<size_t>(cell - 1)], ValueOf(element)) << cell;
    }
  }
}

TEST_F(GridAccessibleTest, TheEmptyListIsOneEmptyRowThatHasTheFocus) {
  SetFocus(grid_);
  ASSERT_EQ(2, ChildCountOf(table_.Get()));
  const Element blank = Row(1);
  EXPECT_EQ("", NameOf(blank));
  for (LONG cell = 1; cell <= 4; ++cell) {
    EXPECT_EQ("", ValueOf(ChildOf(blank.Object.Get(), cell))) << cell;
  }
  const LONG state = StateOf(blank);
  EXPECT_TRUE(state & STATE_SYSTEM_FOCUSED);
  EXPECT_TRUE(state & STATE_SYSTEM_SELECTED);
  EXPECT_EQ(Names{""}, SelectionNames());
  EXPECT_EQ("", FocusName());
}

TEST_F(GridAccessibleTest, TheFocusIsTheCurrentRowOnlyWhileTheGridHasTheKeyboardFocus) {
  NumberRows(5);
  Click(100, MiddleOf(3));
  EXPECT_EQ(NumberedRow(3), FocusName());
  EXPECT_TRUE(StateOf({table_, CHILDID_SELF}) & STATE_SYSTEM_FOCUSED);
  EXPECT_TRUE(StateOf(Row(3)) & STATE_SYSTEM_FOCUSED);
  EXPECT_FALSE(StateOf(Row(2)) & STATE_SYSTEM_FOCUSED);
  SetFocus(Control(ControlId::Button2));
  EXPECT_EQ("(no focus)", FocusName());
  EXPECT_FALSE(StateOf(Row(3)) & STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(Names{NumberedRow(3)}, SelectionNames()) << "the highlight stays";
}

TEST_F(GridAccessibleTest, TakingTheFocusAnnouncesTheCurrentRowLast) {
  NumberRows(5);
  Model().Click(4, false);
  SetFocus(Control(ControlId::Button2));
  WinEventRecorder events(grid_);
  SetFocus(grid_);
  const std::vector<WinEvent> focus = events.Of(EVENT_OBJECT_FOCUS);
  ASSERT_FALSE(focus.empty());
  EXPECT_EQ((WinEvent{EVENT_OBJECT_FOCUS, OBJID_CLIENT, 5}), focus.back());
}

TEST_F(GridAccessibleTest, HitTestsOnACellsPixelsFindTheRowAndTheCell) {
  NumberRows(5);
  // Column 2 (ExeName) starts after columns 0 and 1 and their lines.
  const int exeNameX = 40 + 1 + 64 + 1 + 5;
  const Element row = HitTest(table_.Get(), OnScreen(exeNameX, MiddleOf(2)));
  ASSERT_TRUE(row.Object);
  EXPECT_EQ(NumberedRow(2), NameOf(row));
  const Element cell = HitTest(row.Object.Get(), OnScreen(exeNameX, MiddleOf(2)));
  EXPECT_EQ(3, cell.Child);
  EXPECT_EQ("ExeName", NameOf(cell));

  EXPECT_EQ("No., Delay, ExeName, Parameter",
            NameOf(HitTest(table_.Get(), OnScreen(exeNameX, layout::kGridRowHeight / 2))));
  // Below the last row, the table itself; outside the grid, nothing.
  const Element below = HitTest(table_.Get(), OnScreen(exeNameX, MiddleOf(5) + 30));
  EXPECT_EQ(table_.Get(), below.Object.Get());
  EXPECT_EQ(CHILDID_SELF, below.Child);
  EXPECT_FALSE(HitTest(table_.Get(), OnScreen(-5, MiddleOf(2))).Object);
}

// The colour of the pixels at client points of the grid as painted.
class Picture {
 public:
  explicit Picture(HWND window) : dc_(GetDC(window)), window_(window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  ~Picture() { ReleaseDC(window_, dc_); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  COLORREF At(LONG x, LONG y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HWND window_;
};

TEST_F(GridAccessibleTest, EachCellsLocationIsWhereItIsPainted) {
  NumberRows(5);
  Click(100, MiddleOf(2));
  SetFocus(Control(ControlId::Button2));  // no focus frame over the cells' edges
  const COLORREF line = GetSysColor(COLOR_BTNSHADOW);
  struct Case {
    int row;
    LONG cell;
    COLORREF fill;
  };
  const Case cases[] = {
      {2, 2, GetSysColor(COLOR_HIGHLIGHT)},  // the highlighted row
      {3, 3, GetSysColor(COLOR_WINDOW)},
      {4, 4, GetSysColor(COLOR_WINDOW)},
      {0, 2, GetSysColor(COLOR_BTNFACE)},  // a heading
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(c.row) + ", cell " + std::to_string(c.cell));
    const RECT cell = InClient(LocationOf(ChildOf(Row(c.row).Object.Get(), c.cell)));
    const Picture picture(grid_);
    const LONG middleY = (cell.top + cell.bottom) / 2;
    const LONG rightX = cell.right - 2;  // the texts here end further left
    // The cell's own pixels reach its edges; the grid lines lie just outside.
    EXPECT_EQ(c.fill, picture.At(cell.left, cell.top));
    EXPECT_EQ(c.fill, picture.At(rightX, cell.top));
    EXPECT_EQ(c.fill, picture.At(cell.right - 1, middleY));
    EXPECT_EQ(c.fill, picture.At(rightX, cell.bottom - 1));
    EXPECT_EQ(line, picture.At(cell.left - 1, middleY));
    EXPECT_EQ(line, picture.At(cell.right, middleY));
    EXPECT_EQ(line, picture.At(rightX, cell.bottom));
    if (c.row > 0) {
      EXPECT_EQ(line, picture.At(rightX, cell.top - 1));
    }
  }
  // A row spans its cells and the lines between them.
  const RECT row = InClient(LocationOf(Row(3)));
  EXPECT_EQ(InClient(LocationOf(ChildOf(Row(3).Object.Get(), 1))).left, row.left);
  EXPECT_EQ(InClient(LocationOf(ChildOf(Row(3).Object.Get(), 4))).right, row.right);
}

TEST_F(GridAccessibleTest, NavigationGoesFromRowToRowAndFromCellToCell) {
  NumberRows(3);
  struct Case {
    const char* label;
    Element start;
    LONG direction;
    const char* expectedName;  // nullptr: nothing lies there
    LONG expectedChild;
  };
  const Element first = Row(1);
  const Case cases[] = {
      {"the table's first child",
       {table_, CHILDID_SELF},
       NAVDIR_FIRSTCHILD,
       "No., Delay, "
       "ExeName, Parameter",
       CHILDID_SELF},
      {"the table's last child", {table_, CHILDID_SELF}, NAVDIR_LASTCHILD, "No. 3", CHILDID_SELF},
      {"the row below", first, NAVDIR_DOWN, "No. 2", CHILDID_SELF},
      {"the next row", first, NAVDIR_NEXT, "No. 2", CHILDID_SELF},
      {"the row above", first, NAVDIR_UP, "No., Delay, ExeName, Parameter", CHILDID_SELF},
      {"past the last row", Row(3), NAVDIR_DOWN, nullptr, 0},
      {"a row's first cell", first, NAVDIR_FIRSTCHILD, "No.", 1},
      {"a row's last cell", first, NAVDIR_LASTCHILD, "Parameter", 4},
      {"the cell to the right", {first.Object, 2}, NAVDIR_RIGHT, "ExeName", 3},
      {"the cell to the left", {first.Object, 2}, NAVDIR_LEFT, "No.", 1},
      {"left of the first cell", {first.Object, 1}, NAVDIR_LEFT, nullptr, 0},
  };
  for (const Case& c : cases) {
    VARIANT end;
    VariantInit(&end);
    c.start.Object->accNavigate(c.direction, ChildVariant(c.start.Child), &end);
    const std::optional<Element> found = ElementOf(c.start.Object.Get(), end);
    VariantClear(&end);
    if (!c.expectedName) {
      EXPECT_FALSE(found) << c.label;
      continue;
    }
    ASSERT_TRUE(found) << c.label;
    EXPECT_EQ(c.expectedName, NameOf(*found)) << c.label;
    EXPECT_EQ(c.expectedChild, found->Child) << c.label;
  }
}

TEST_F(GridAccessibleTest, SelectingARowWorksAsAClickOrAShiftClick) {
  NumberRows(6);
  const Element row = Row(2);
  EXPECT_EQ(S_OK,
            row.Object->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, ChildVariant(0)));
  EXPECT_EQ(grid_, GetFocus());
  EXPECT_EQ(2, Model().CurrentRow());
  EXPECT_EQ(S_OK, Row(5).Object->accSelect(SELFLAG_EXTENDSELECTION, ChildVariant(0)));
  EXPECT_EQ(2, Model().CurrentRow());
  EXPECT_EQ((Names{"No. 2", "No. 3", "No. 4", "No. 5"}), SelectionNames());
  // The headings are never selected, and a cell on its own neither.
  EXPECT_EQ(E_INVALIDARG, Row(0).Object->accSelect(SELFLAG_TAKESELECTION, ChildVariant(0)));
  EXPECT_EQ(E_INVALIDARG, row.Object->accSelect(SELFLAG_TAKESELECTION, ChildVariant(2)));
  EXPECT_EQ(2, Model().CurrentRow());
}

TEST_F(GridAccessibleTest, RowsOutOfViewAreOffscreenAndAMillionRowsCostNothingToList) {
  constexpr int kRows = 1000000;
  SetRows(kRows + 1);
  EXPECT_EQ(kRows + 1, ChildCountOf(table_.Get()));
  EXPECT_FALSE(StateOf(Row(1)) & STATE_SYSTEM_OFFSCREEN);
  EXPECT_TRUE(StateOf(Row(kRows)) & STATE_SYSTEM_OFFSCREEN);
  EXPECT_FALSE(StateOf(Row(0)) & STATE_SYSTEM_OFFSCREEN);
  SetFocus(grid_);
  Key(VK_END, true);  // a block over every row
  VARIANT selection;
  VariantInit(&selection);
  ASSERT_EQ(S_OK, table_->get_accSelection(&selection));
  ASSERT_EQ(VT_UNKNOWN, selection.vt);
  ComPtr<IEnumVARIANT> rows;
  ASSERT_EQ(S_OK, selection.punkVal->QueryInterface(rows.GetAddressOf()));
  VariantClear(&selection);
  EXPECT_EQ(S_OK, rows->Skip(kRows - 2));
  VARIANT last[3];
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, rows->Next(3, last, &fetched));
  ASSERT_EQ(2u, fetched);
  EXPECT_TRUE(StateOf(*ElementOf(table_.Get(), last[1])) & STATE_SYSTEM_FOCUSED);
  for (ULONG i = 0; i < fetched; ++i) VariantClear(&last[i]);
}

// A screen reader holding the table or a row after the window went gets
// errors back, never a crash; one in another apartment (another process,
// in effect) too.
TEST_F(GridAccessibleTest, ATableThatOutlivesItsWindowAnswersWithErrors) {
  NumberRows(3);
  const Element row = Row(2);
  // A client in a thread of its own: it takes the table, and once the
  // window is gone it asks it again. Its calls reach this thread through
  // its messages, so this thread keeps handling them while it waits.
  std::atomic<int> stage = 0;
  std::string nameElsewhere;
  HRESULT afterwards = S_OK;
  std::thread client([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      ComPtr<IAccessible> elsewhere = ClientObjectOf(grid_);
      if (elsewhere) nameElsewhere = NameOf({elsewhere, CHILDID_SELF});
      stage = 1;
      while (stage != 2) Sleep(10);
      LONG count = 0;
      if (elsewhere) afterwards = elsewhere->get_accChildCount(&count);
    }
    CoUninitialize();
    stage = 3;
  });
  EXPECT_TRUE(WaitFor([&] { return stage == 1; }, 20000));
  EXPECT_EQ("Run list", nameElsewhere);

  DestroyWindow(Main());
  BSTR name = nullptr;
  LONG count = 0;
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, table_->get_accName(ChildVariant(CHILDID_SELF), &name));
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, table_->get_accChildCount(&count));
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, row.Object->get_accName(ChildVariant(CHILDID_SELF), &name));
  EXPECT_EQ(nullptr, name);

  stage = 2;
  EXPECT_TRUE(WaitFor([&] { return stage == 3; }, 20000));
  client.join();
  // Windows says RPC_E_DISCONNECTED, Wine RPC_S_UNKNOWN_IF as an HRESULT.
  EXPECT_TRUE(FAILED(afterwards)) << std::hex << afterwards;
}

// The keys, clicks and wheel turns of grid_cases.h: the focus is the row
// the core makes current, the selection its block, and the WinEvents tell
// of each move.
class GridAccessibleMappingTest : public GridControlMappingTest {
 protected:
  void StartAt(int row, int blockEnd) {
    ASSERT_NO_FATAL_FAILURE(GridControlMappingTest::StartAt(row, blockEnd));
    for (int each = 1; each <= kGridCaseEntries; ++each) {
      program_.Form().StringGrid1.SetCell(layout::kNo, each, std::to_string(each));
    }
    SetFocus(grid_);
    table_ = ClientObjectOf(grid_);
    ASSERT_TRUE(table_);
    before_ = StateOf(Model());
    events_.emplace(grid_);
  }

  void ExpectAssistiveTechnologyFollows() {
    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(S_OK, table_->get_accFocus(&focus));
    const std::optional<Element> focused = ElementOf(table_.Get(), focus);
    VariantClear(&focus);
    ASSERT_TRUE(focused);
    EXPECT_EQ(NumberedRow(reference_.CurrentRow()), NameOf(*focused));

    Names block;
    for (int row = reference_.BlockTop(); row <= reference_.BlockBottom(); ++row) {
      block.push_back(NumberedRow(row));
    }
    VARIANT selection;
    VariantInit(&selection);
    ASSERT_EQ(S_OK, table_->get_accSelection(&selection));
    EXPECT_EQ(block, SelectionNames(table_.Get(), selection));

    // Each move is told; the last word is where things stand now.
    const GridState now = StateOf(reference_);
    const std::vector<WinEvent> moved = events_->Of(EVENT_OBJECT_FOCUS);
    if (now.CurrentRow == before_.CurrentRow) {
      EXPECT_TRUE(moved.empty()) << "focus announced though the current row stayed";
    } else {
      ASSERT_FALSE(moved.empty());
      EXPECT_EQ(now.CurrentRow + 1, moved.back().Child);
    }
    std::vector<WinEvent> selected;
    for (const WinEvent& event : events_->Events()) {
      if (event.Event == EVENT_OBJECT_SELECTION || event.Event == EVENT_OBJECT_SELECTIONWITHIN) {
        selected.push_back(event);
      }
    }
    if (now.BlockTop == before_.BlockTop && now.BlockBottom == before_.BlockBottom) {
      EXPECT_TRUE(selected.empty()) << "selection announced though the block stayed";
      return;
    }
    ASSERT_FALSE(selected.empty());
    const WinEvent expected =
        now.BlockTop == now.BlockBottom
            ? WinEvent{EVENT_OBJECT_SELECTION, OBJID_CLIENT, now.BlockTop + 1}
            : WinEvent{EVENT_OBJECT_SELECTIONWITHIN, OBJID_CLIENT, CHILDID_SELF};
    EXPECT_EQ(expected, selected.back());
  }

  ComPtr<IAccessible> table_;
  GridState before_;
  std::optional<WinEventRecorder> events_;
};

class GridAccessibleKeyTest : public GridAccessibleMappingTest,
                              public ::testing::WithParamInterface<GridKeyCase> {};

TEST_P(GridAccessibleKeyTest, AssistiveTechnologyFollowsTheKey) {
  const GridKeyCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.BlockEnd));
  Perform(c);
  ExpectAssistiveTechnologyFollows();
}

INSTANTIATE_TEST_SUITE_P(Keys, GridAccessibleKeyTest, ::testing::ValuesIn(kGridKeyCases),
                         CaseLabel());

class GridAccessibleMouseTest : public GridAccessibleMappingTest,
                                public ::testing::WithParamInterface<GridMouseCase> {};

TEST_P(GridAccessibleMouseTest, AssistiveTechnologyFollowsTheGesture) {
  const GridMouseCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.StartRow));
  Perform(c);
  ExpectAssistiveTechnologyFollows();
}

INSTANTIATE_TEST_SUITE_P(Mouse, GridAccessibleMouseTest, ::testing::ValuesIn(kGridMouseCases),
                         CaseLabel());

class GridAccessibleWheelTest : public GridAccessibleMappingTest,
                                public ::testing::WithParamInterface<GridWheelCase> {};

TEST_P(GridAccessibleWheelTest, AssistiveTechnologyFollowsTheWheel) {
  const GridWheelCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartAt(c.StartRow, c.StartRow));
  Perform(c);
  ExpectAssistiveTechnologyFollows();
}

INSTANTIATE_TEST_SUITE_P(Wheel, GridAccessibleWheelTest, ::testing::ValuesIn(kGridWheelCases),
                         CaseLabel());

// The editing buttons with the grid focused on entry 2 of three: what the
// screen reader is told, and where the focus is then.
struct CommandCase {
  const char* Label;
  ControlId Button;
  int StartRow;
  std::vector<WinEvent> Events;  // the grid's object events, in order
  const char* FocusName;
  LONG Rows;  // the table's children afterwards
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.Label; }

constexpr LONG kSelf = CHILDID_SELF;

const CommandCase kCommandCases[] = {
    {"Pick", ControlId::Button6, 2, {}, "No. 2, Delay 2, ExeName b.exe", 4},
    {"Edit",
     ControlId::Button5,
     2,
     {{EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, 3},
      {EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, 3},
      {EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, 3}},
     "No. 2, Delay 9, ExeName new.exe, Parameter -n",
     4},
    {"Delete",
     ControlId::Button4,
     2,
     {{EVENT_OBJECT_REORDER, OBJID_CLIENT, kSelf},
      {EVENT_OBJECT_FOCUS, OBJID_CLIENT, 3},
      {EVENT_OBJECT_SELECTION, OBJID_CLIENT, 3}},
     "No. 2, Delay 3, ExeName c.exe",
     3},
    {"Delete_of_the_last_entry",
     ControlId::Button4,
     3,
     {{EVENT_OBJECT_REORDER, OBJID_CLIENT, kSelf},
      {EVENT_OBJECT_FOCUS, OBJID_CLIENT, 3},
      {EVENT_OBJECT_SELECTION, OBJID_CLIENT, 3}},
     "No. 2, Delay 2, ExeName b.exe",
     3},
    {"Insert",
     ControlId::Button3,
     2,
     {{EVENT_OBJECT_REORDER, OBJID_CLIENT, kSelf},
      {EVENT_OBJECT_FOCUS, OBJID_CLIENT, 3},
      {EVENT_OBJECT_SELECTION, OBJID_CLIENT, 3}},
     "No. 2, Delay 9, ExeName new.exe, Parameter -n",
     5},
};

class GridAccessibleCommandTest : public GridAccessibleTest,
                                  public ::testing::WithParamInterface<CommandCase> {};

TEST_P(GridAccessibleCommandTest, TheScreenReaderHearsWhatTheCommandDid) {
  const CommandCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Load({{"1", "a.exe", ""}, {"2", "b.exe", ""}, {"3", "c.exe", ""}}));
  SetWindowTextA(Control(ControlId::Edit1), "9");
  SetWindowTextA(Control(ControlId::Edit2), "new.exe");
  SetWindowTextA(Control(ControlId::Edit3), "-n");
  Click(100, MiddleOf(c.StartRow));
  ASSERT_EQ(grid_, GetFocus());
  std::vector<WinEvent> seen;
  {
    WinEventRecorder events(grid_);
    // The button's notification, as the keyboard gives it without moving
    // the focus (a mouse click would take the focus to the button).
    SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(win32::ControlIdOf(c.Button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(c.Button)));
    seen = events.Events();
  }
  EXPECT_EQ(c.Events, seen);
  EXPECT_EQ(c.FocusName, FocusName());
  EXPECT_EQ(c.Rows, ChildCountOf(table_.Get()));
}

INSTANTIATE_TEST_SUITE_P(Commands, GridAccessibleCommandTest, ::testing::ValuesIn(kCommandCases),
                         CaseLabel());

}  // namespace
}  // namespace pellox::testing
