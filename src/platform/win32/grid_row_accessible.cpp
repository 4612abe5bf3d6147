#include "platform/win32/grid_row_accessible.h"

#include <string>

#include "platform/win32/grid_control.h"
#include "window/layout.h"

namespace pellox::win32 {

namespace {

constexpr LONG kCellIds = layout::kGridColumns;

HRESULT ScreenLocation(HWND window, RECT rect, LONG* left, LONG* top, LONG* width, LONG* height) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  *left = rect.left;
  *top = rect.top;
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

// "No. 1, Delay 5, ExeName notepad.exe": each cell that holds a text
// after its heading; the heading row its headings.
std::string RowName(const GridModel& model, int row) {
  std::string name;
  for (int column = 0; column < model.Columns(); ++column) {
    const std::string_view text = model.Cell(column, row);
    if (text.empty()) continue;
    if (!name.empty()) name += ", ";
    if (row >= layout::kGridFixedRows) {
      name += layout::GridHeading(column);
      name += ' ';
    }
    name += text;
  }
  return name;
}

}  // namespace

GridControl* GridRowAccessible::Grid() const {
  GridControl* grid = table_->Grid();
  return grid && row_ < grid->Model().RowCount() ? grid : nullptr;
}

std::optional<int> GridRowAccessible::ColumnOf(const VARIANT& child) const {
  const std::optional<LONG> id = ChildIdOf(child);
  if (!id || *id < CHILDID_SELF || *id > kCellIds) return std::nullopt;
  return static_cast<int>(*id) - 1;
}

bool GridRowAccessible::IsHeading() const { return row_ < layout::kGridFixedRows; }

bool GridRowAccessible::Selected(const GridControl& grid) const {
  return row_ >= grid.Model().BlockTop() && row_ <= grid.Model().BlockBottom();
}

HRESULT GridRowAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  return table_->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

HRESULT GridRowAccessible::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = 0;
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  *count = kCellIds;
  return S_OK;
}

HRESULT GridRowAccessible::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  const std::optional<int> column = ColumnOf(child);
  if (!column || *column < 0) return E_INVALIDARG;
  return S_FALSE;  // a cell is a simple element of the row
}

HRESULT GridRowAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  const std::optional<int> column = ColumnOf(child);
  if (!column) return E_INVALIDARG;
  if (*column < 0) return AnsiBstr(RowName(grid->Model(), row_), name);
  return AnsiBstr(grid->Model().Cell(*column, 0), name);
}

HRESULT GridRowAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  const std::optional<int> column = ColumnOf(child);
  if (!column) return E_INVALIDARG;
  if (*column < 0 || IsHeading()) return S_FALSE;
  return AnsiBstr(grid->Model().Cell(*column, row_), value);
}

HRESULT GridRowAccessible::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  *description = nullptr;
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  return ColumnOf(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT GridRowAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  const std::optional<int> column = ColumnOf(child);
  if (!column) return E_INVALIDARG;
  LONG value = ROLE_SYSTEM_ROW;
  if (*column >= 0) value = IsHeading() ? ROLE_SYSTEM_COLUMNHEADER : ROLE_SYSTEM_CELL;
  *role = ChildVariant(value);
  return S_OK;
}

HRESULT GridRowAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  const std::optional<int> column = ColumnOf(child);
  if (!column) return E_INVALIDARG;
  LONG bits = STATE_SYSTEM_READONLY;
  const GridGeometry& geometry = grid->Geometry();
  if (!geometry.RowShown(row_, grid->Model().TopRow())) bits |= STATE_SYSTEM_OFFSCREEN;
  if (!IsHeading()) {
    if (Selected(*grid)) bits |= STATE_SYSTEM_SELECTED;
    if (*column < 0) {
      bits |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
      if (row_ == grid->Model().CurrentRow() && GetFocus() == grid->Window()) {
        bits |= STATE_SYSTEM_FOCUSED;
      }
    }
  }
  if (*column >= 0) {
    const RECT cell = geometry.CellRect(*column, row_, grid->Model().TopRow());
    if (cell.right <= 0 || cell.left >= geometry.ClientWidth()) bits |= STATE_SYSTEM_OFFSCREEN;
  }
  *state = ChildVariant(bits);
  return S_OK;
}

HRESULT GridRowAccessible::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  VariantInit(focus);
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  if (row_ != grid->Model().CurrentRow() || GetFocus() != grid->Window()) return S_FALSE;
  *focus = ChildVariant(CHILDID_SELF);
  return S_OK;
}

HRESULT GridRowAccessible::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  VariantInit(selection);
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  return S_FALSE;  // the grid selects whole rows, never cells
}

HRESULT GridRowAccessible::accSelect(LONG flags, VARIANT child) {
  GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  if (ColumnOf(child) != -1) return E_INVALIDARG;
  // A heading row is never selected; what a row can be asked is what a
  // click (taking the focus along) or a Shift+click does.
  constexpr LONG kSupported = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION | SELFLAG_EXTENDSELECTION;
  if (IsHeading() || flags == 0 || (flags & ~kSupported) != 0) return E_INVALIDARG;
  const bool extend = (flags & SELFLAG_EXTENDSELECTION) != 0;
  if (extend && (flags & SELFLAG_TAKESELECTION) != 0) return E_INVALIDARG;
  if (flags & SELFLAG_TAKEFOCUS) SetFocus(grid->Window());
  grid->Model().Click(row_, extend);
  return S_OK;
}

HRESULT GridRowAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                       VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  const std::optional<int> column = ColumnOf(child);
  if (!column) return E_INVALIDARG;
  const GridGeometry& geometry = grid->Geometry();
  const int topRow = grid->Model().TopRow();
  const RECT rect =
      *column < 0 ? geometry.RowRect(row_, topRow) : geometry.CellRect(*column, row_, topRow);
  return ScreenLocation(grid->Window(), rect, left, top, width, height);
}

HRESULT GridRowAccessible::Sibling(GridControl& grid, int step, VARIANT* end) {
  const int row = row_ + step;
  if (row < 0 || row >= grid.Model().RowCount()) return S_FALSE;
  *end = ObjectVariant(table_->NewRow(row));
  return S_OK;
}

HRESULT GridRowAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  const std::optional<int> column = ColumnOf(start);
  if (!column) return E_INVALIDARG;
  if (*column < 0) {
    switch (direction) {
      case NAVDIR_UP:
      case NAVDIR_PREVIOUS:
        return Sibling(*grid, -1, end);
      case NAVDIR_DOWN:
      case NAVDIR_NEXT:
        return Sibling(*grid, 1, end);
      case NAVDIR_FIRSTCHILD:
        *end = ChildVariant(1);
        return S_OK;
      case NAVDIR_LASTCHILD:
        *end = ChildVariant(kCellIds);
        return S_OK;
      case NAVDIR_LEFT:
      case NAVDIR_RIGHT:
        return S_FALSE;
      default:
        return E_INVALIDARG;
    }
  }
  LONG cell = *column + 1;
  switch (direction) {
    case NAVDIR_LEFT:
    case NAVDIR_PREVIOUS:
      --cell;
      break;
    case NAVDIR_RIGHT:
    case NAVDIR_NEXT:
      ++cell;
      break;
    case NAVDIR_UP:
    case NAVDIR_DOWN:
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD:
      // The cells above and below are children of other rows.
      return S_FALSE;
    default:
      return E_INVALIDARG;
  }
  if (cell < 1 || cell > kCellIds) return S_FALSE;
  *end = ChildVariant(cell);
  return S_OK;
}

HRESULT GridRowAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  POINT point{x, y};
  ScreenToClient(grid->Window(), &point);
  const GridGeometry& geometry = grid->Geometry();
  const RECT row = geometry.RowRect(row_, grid->Model().TopRow());
  if (!PtInRect(&row, point)) return S_FALSE;
  const int column = geometry.ColumnAt(point.x);
  *child = ChildVariant(column < 0 ? CHILDID_SELF : column + 1);
  return S_OK;
}

}  // namespace pellox::win32
