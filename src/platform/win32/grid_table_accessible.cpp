#include "platform/win32/grid_table_accessible.h"

#include <wrl/client.h>

#include "platform/win32/grid_control.h"
#include "platform/win32/grid_row_accessible.h"
#include "platform/win32/row_enumerator.h"

namespace pellox::win32 {

using Microsoft::WRL::ComPtr;

GridControl* GridTableAccessible::Grid() const {
  return grid_ && grid_->Window() ? grid_ : nullptr;
}

GridRowAccessible* GridTableAccessible::NewRow(int row) {
  return new GridRowAccessible(*this, row);
}

template <typename Call>
HRESULT GridTableAccessible::ForRow(const VARIANT& child, Call call) {
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  const std::optional<LONG> id = ChildIdOf(child);
  if (!id || *id < ChildIdOfRow(0) || *id > ChildIdOfRow(grid->Model().RowCount() - 1)) {
    return E_INVALIDARG;
  }
  ComPtr<GridRowAccessible> row;
  row.Attach(NewRow(static_cast<int>(*id - ChildIdOfRow(0))));
  return call(*row.Get());
}

namespace {

bool IsSelf(const VARIANT& child) { return ChildIdOf(child) == CHILDID_SELF; }

}  // namespace

HRESULT GridTableAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  return AccessibleObjectFromWindow(grid->Window(), static_cast<DWORD>(OBJID_WINDOW),
                                    __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

HRESULT GridTableAccessible::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = 0;
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  *count = grid->Model().RowCount();
  return S_OK;
}

HRESULT GridTableAccessible::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return ForRow(child, [&](GridRowAccessible& row) {
    row.AddRef();
    *object = &row;
    return S_OK;
  });
}

HRESULT GridTableAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  if (!IsSelf(child)) {
    return ForRow(child, [&](GridRowAccessible& row) {
      return row.get_accName(ChildVariant(CHILDID_SELF), name);
    });
  }
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  return AnsiBstr(layout::kGridAccessibleName, name);
}

HRESULT GridTableAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  if (!IsSelf(child)) {
    return ForRow(child, [&](GridRowAccessible& row) {
      return row.get_accValue(ChildVariant(CHILDID_SELF), value);
    });
  }
  return Grid() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT GridTableAccessible::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  *description = nullptr;
  if (!IsSelf(child)) {
    return ForRow(child, [&](GridRowAccessible& row) {
      return row.get_accDescription(ChildVariant(CHILDID_SELF), description);
    });
  }
  return Grid() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT GridTableAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  if (!IsSelf(child)) {
    return ForRow(child, [&](GridRowAccessible& row) {
      return row.get_accRole(ChildVariant(CHILDID_SELF), role);
    });
  }
  if (!Grid()) return CO_E_OBJNOTCONNECTED;
  *role = ChildVariant(ROLE_SYSTEM_TABLE);
  return S_OK;
}

HRESULT GridTableAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  if (!IsSelf(child)) {
    return ForRow(child, [&](GridRowAccessible& row) {
      return row.get_accState(ChildVariant(CHILDID_SELF), state);
    });
  }
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  LONG bits = STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == grid->Window()) bits |= STATE_SYSTEM_FOCUSED;
  if (!IsWindowVisible(grid->Window())) bits |= STATE_SYSTEM_INVISIBLE;
  *state = ChildVariant(bits);
  return S_OK;
}

HRESULT GridTableAccessible::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  VariantInit(focus);
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  if (GetFocus() != grid->Window()) return S_FALSE;
  *focus = ObjectVariant(NewRow(grid->Model().CurrentRow()));
  return S_OK;
}

HRESULT GridTableAccessible::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  VariantInit(selection);
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  const int top = grid->Model().BlockTop();
  const int bottom = grid->Model().BlockBottom();
  if (top == bottom) {
    *selection = ObjectVariant(NewRow(top));
    return S_OK;
  }
  selection->vt = VT_UNKNOWN;
  selection->punkVal = new RowEnumerator(*this, top, bottom);
  return S_OK;
}

HRESULT GridTableAccessible::accSelect(LONG flags, VARIANT child) {
  if (!IsSelf(child)) {
    return ForRow(child, [&](GridRowAccessible& row) {
      return row.accSelect(flags, ChildVariant(CHILDID_SELF));
    });
  }
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  if (flags != SELFLAG_TAKEFOCUS) return E_INVALIDARG;
  SetFocus(grid->Window());
  return S_OK;
}

HRESULT GridTableAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                         VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  if (!IsSelf(child)) {
    return ForRow(child, [&](GridRowAccessible& row) {
      return row.accLocation(left, top, width, height, ChildVariant(CHILDID_SELF));
    });
  }
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  RECT client;
  GetClientRect(grid->Window(), &client);
  MapWindowPoints(grid->Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  *left = client.left;
  *top = client.top;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  return S_OK;
}

HRESULT GridTableAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  if (!IsSelf(start)) {
    return ForRow(start, [&](GridRowAccessible& row) {
      return row.accNavigate(direction, ChildVariant(CHILDID_SELF), end);
    });
  }
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  switch (direction) {
    case NAVDIR_FIRSTCHILD:
      *end = ObjectVariant(NewRow(0));
      return S_OK;
    case NAVDIR_LASTCHILD:
      *end = ObjectVariant(NewRow(grid->Model().RowCount() - 1));
      return S_OK;
    case NAVDIR_UP:
    case NAVDIR_DOWN:
    case NAVDIR_LEFT:
    case NAVDIR_RIGHT:
    case NAVDIR_NEXT:
    case NAVDIR_PREVIOUS:
      // The grid's neighbours are the window's to tell.
      return S_FALSE;
    default:
      return E_INVALIDARG;
  }
}

HRESULT GridTableAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  const GridControl* grid = Grid();
  if (!grid) return CO_E_OBJNOTCONNECTED;
  POINT point{x, y};
  ScreenToClient(grid->Window(), &point);
  RECT client;
  GetClientRect(grid->Window(), &client);
  if (!PtInRect(&client, point)) return S_FALSE;
  const GridGeometry& geometry = grid->Geometry();
  const int row = geometry.RowAt(point.y, grid->Model().TopRow());
  const RECT rowRect = geometry.RowRect(row, grid->Model().TopRow());
  if (row < grid->Model().RowCount() && PtInRect(&rowRect, point)) {
    *child = ObjectVariant(NewRow(row));
  } else {
    *child = ChildVariant(CHILDID_SELF);
  }
  return S_OK;
}

}  // namespace pellox::win32
