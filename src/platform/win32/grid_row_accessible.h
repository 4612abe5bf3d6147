// One row of the run-list grid as assistive technology sees it: a row of
// the table GridTableAccessible, named by its cells ("No. 1, Delay 5,
// ExeName notepad.exe", empty cells left out), whose children are its four
// cells as simple elements (child ids 1 to 4): each named by its column's
// heading and holding the cell's text as its value. The heading row's
// cells are column headers named by their headings.
//
// A row object stays valid while the grid lives and holds its row;
// otherwise every call fails with CO_E_OBJNOTCONNECTED.
#pragma once

#include <wrl/client.h>

#include "platform/win32/accessible_object.h"
#include "platform/win32/grid_table_accessible.h"

namespace pellox::win32 {

class GridRowAccessible : public AccessibleObject {
 public:
  // A row of `table`, which it keeps alive. The creator holds the first
  // reference.
  GridRowAccessible(GridTableAccessible& table, int row) : table_(&table), row_(row) {}

  int Row() const { return row_; }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;

 private:
  // The grid while it lives and has this row, else nullptr.
  GridControl* Grid() const;
  // The column a child id names: -1 for the row itself, nothing for an id
  // that names neither.
  std::optional<int> ColumnOf(const VARIANT& child) const;
  bool IsHeading() const;
  bool Selected(const GridControl& grid) const;
  // The row's neighbour `step` rows away as a VARIANT; empty past the ends.
  HRESULT Sibling(GridControl& grid, int step, VARIANT* end);

  Microsoft::WRL::ComPtr<GridTableAccessible> table_;
  int row_;
};

}  // namespace pellox::win32
