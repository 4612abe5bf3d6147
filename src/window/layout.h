// The main window's layout as one table, from which every front end builds
// its window. Positions and sizes are pixels, never rescaled.
// System-independent code only.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "window/events.h"

namespace pellox::layout {

enum class ControlKind { Label, ComboBox, Edit, Button, StringGrid, StatusBar };

enum class ControlId {
  Label5,
  ComboBox1,
  Label1,
  Edit1,
  Label4,
  Label2,
  Edit2,
  Button1,
  Label3,
  Edit3,
  StringGrid1,
  Button2,
  Button3,
  Button4,
  Button5,
  Button6,
  Button7,
  StatusBar1,
};

inline constexpr int kNoTabStop = -1;

struct Control {
  ControlId Id;
  const char* Name;
  ControlKind Kind;
  int Left, Top, Width, Height;
  const char* Caption;  // the layout's caption or text; "" where none
  int TabOrder;         // kNoTabStop for controls that take no focus
  std::optional<FormEvent> Click;
  // The label beside the control that names it to assistive technology,
  // and one that tells more about its contents (Edit1's unit). Each such
  // label stands in the table right before its control.
  std::optional<ControlId> LabelledBy = {};
  std::optional<ControlId> DescribedBy = {};
};

inline constexpr std::array<Control, 18> kControls = {{
    {ControlId::Label5, "Label5", ControlKind::Label, 8, 8, 59, 22, "Printer:", kNoTabStop, {}},
    {ControlId::ComboBox1,
     "ComboBox1",
     ControlKind::ComboBox,
     104,
     0,
     441,
     30,
     "",
     0,
     {},
     ControlId::Label5},
    {ControlId::Label1, "Label1", ControlKind::Label, 8, 40, 87, 22, "DelayTime:", kNoTabStop, {}},
    {ControlId::Edit1,
     "Edit1",
     ControlKind::Edit,
     104,
     32,
     105,
     30,
     "Edit1",
     1,
     {},
     ControlId::Label1,
     ControlId::Label4},
    {ControlId::Label4, "Label4", ControlKind::Label, 216, 40, 18, 22, "[s]", kNoTabStop, {}},
    {ControlId::Label2, "Label2", ControlKind::Label, 8, 72, 81, 22, "ExeName:", kNoTabStop, {}},
    {ControlId::Edit2,
     "Edit2",
     ControlKind::Edit,
     104,
     64,
     441,
     30,
     "Edit2",
     2,
     {},
     ControlId::Label2},
    {ControlId::Button1, "Button1", ControlKind::Button, 552, 64, 81, 33, "Browse", 3,
     FormEvent::Button1Click},
    {ControlId::Label3, "Label3", ControlKind::Label, 8, 104, 90, 22, "Parameter:", kNoTabStop, {}},
    {ControlId::Edit3,
     "Edit3",
     ControlKind::Edit,
     104,
     96,
     441,
     30,
     "Edit3",
     4,
     {},
     ControlId::Label3},
    {ControlId::StringGrid1, "StringGrid1", ControlKind::StringGrid, 8, 136, 537, 281, "", 5, {}},
    {ControlId::Button2, "Button2", ControlKind::Button, 552, 136, 81, 33, "Add", 6,
     FormEvent::Button2Click},
    {ControlId::Button3, "Button3", ControlKind::Button, 552, 176, 81, 33, "Insert", 7,
     FormEvent::Button3Click},
    {ControlId::Button4, "Button4", ControlKind::Button, 552, 216, 81, 33, "Delete", 8,
     FormEvent::Button4Click},
    {ControlId::Button5, "Button5", ControlKind::Button, 552, 256, 81, 33, "Edit", 9,
     FormEvent::Button5Click},
    {ControlId::Button6, "Button6", ControlKind::Button, 552, 296, 81, 33, "Pick", 10,
     FormEvent::Button6Click},
    {ControlId::Button7, "Button7", ControlKind::Button, 552, 384, 81, 33, "Run", 11,
     FormEvent::Button7Click},
    {ControlId::StatusBar1,
     "StatusBar1",
     ControlKind::StatusBar,
     0,
     425,
     637,
     22,
     "",
     kNoTabStop,
     {}},
}};

struct Window {
  const char* Name;
  const char* Caption;
  int Left, Top;  // screen position of the outer window
  int ClientWidth, ClientHeight;
  const char* FontName;
  int FontHeight;  // negative: character height without internal leading
  int FontCharset;
};

inline constexpr Window kWindow = {"Form1", "Pellox", 204, 125, 637, 447, "System", -12, 128};

inline constexpr const char* kApplicationTitle = "Pellox";

struct MenuItem {
  const char* Name;
  const char* Caption;  // "-" is a separator line; "&" marks an access letter
  std::optional<FormEvent> Click;
};

inline constexpr MenuItem kFileMenu = {"MnuFile", "File(&F)", {}};

inline constexpr std::array<MenuItem, 6> kFileMenuItems = {{
    {"MnuNew", "New(&N)", FormEvent::MnuNewClick},
    {"MnuOpen", "Open(&O)...", FormEvent::MnuOpenClick},
    {"MnuSave", "Save(&S)", FormEvent::MnuSaveClick},
    {"MnuSaveAs", "SaveAs(A)...", FormEvent::MnuSaveAsClick},
    {"MnuDmy1", "-", {}},
    {"MnuExit", "Exit(X)", FormEvent::MnuExitClick},
}};

// StringGrid1
inline constexpr int kGridColumns = 4;
inline constexpr int kGridFixedRows = 1;
inline constexpr int kGridLayoutRowCount = 2;
inline constexpr int kGridDefaultColWidth = 40;
inline constexpr int kGridRowHeight = 24;
inline constexpr int kGridLineWidth = 1;
// Cell and heading texts start this far in from the cell's left and top edges.
inline constexpr int kGridTextInset = 2;
inline constexpr std::array<const char*, kGridColumns> kGridHeadings = {"No.", "Delay", "ExeName",
                                                                        "Parameter"};
inline constexpr std::array<int, kGridColumns> kGridColumnWidths = {40, 64, 200, 200};
// The grid's columns: an entry's number, then its three parts.
enum Column : int { kNo, kDelay, kExeName, kParameter };
static_assert(kParameter + 1 == kGridColumns);
// Column `column`'s heading and width in the layout, for the grid's int
// column numbers.
constexpr const char* GridHeading(int column) {
  return kGridHeadings[static_cast<std::size_t>(column)];
}
constexpr int GridColumnWidth(int column) {
  return kGridColumnWidths[static_cast<std::size_t>(column)];
}

// StatusBar1: the last panel stretches to the bar's right end.
inline constexpr std::array<int, 3> kStatusPanelWidths = {40, 300, 50};
// The status panels: while a run waits, the entry's number, program and
// parameter.
enum Panel : int { kEntryPanel, kProgramPanel, kParameterPanel };
static_assert(kParameterPanel + 1 == static_cast<int>(kStatusPanelWidths.size()));

// ComboBox1 shows at most this many items when opened.
inline constexpr int kComboDropDownCount = 8;

const Control& ControlById(ControlId id);

// The run-list grid's name to assistive technology.
inline constexpr const char* kGridAccessibleName = "Run list";

// What assistive technology calls `control`: the text of the label that
// names it, without the label's closing colon; the grid
// kGridAccessibleName; any other control its caption (no label or button
// carries an access letter). Empty for the status bar, whose panels speak
// for themselves.
std::string AccessibleName(const Control& control);
// The text of the label that tells more about `control`, as shown; empty
// for none.
std::string AccessibleDescription(const Control& control);

// The controls that take the focus, in the order Tab moves through them.
std::vector<const Control*> TabStops();

// One status panel's left and right edge, in pixels from the bar's left end.
struct PanelEdges {
  int Left, Right;
};
// StatusBar1's panels on a bar `barWidth` pixels wide, left to right; the
// last one ends at the bar's right end.
std::array<PanelEdges, kStatusPanelWidths.size()> StatusPanelEdges(int barWidth);

struct Point {
  int X, Y;
};
struct Rect {
  int Left, Top, Width, Height;
};
// Where a dialog `width` x `height` pixels large opens on the screen area
// `area`: centred across it, and a third of the room left over from the
// top, where the eye looks first.
Point DialogPosition(const Rect& area, int width, int height);

}  // namespace pellox::layout
