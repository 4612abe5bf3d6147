// The run-list grid as assistive technology sees it: a table (this
// object) whose children are the grid's rows, the heading row first, each
// a GridRowAccessible with the row's four cells. The table's focus is the
// current row while the grid has the keyboard focus; its selection is the
// highlighted block. Everything is read from the grid window and its model
// when asked, so the object never holds a stale copy.
//
// The object may outlive the grid window (a client holds it as long as it
// likes): once Disconnect has been called, every call fails with
// CO_E_OBJNOTCONNECTED and nothing of the grid is touched.
#pragma once

#include "platform/win32/accessible_object.h"

namespace pellox::win32 {

class GridControl;
class GridRowAccessible;

class GridTableAccessible : public AccessibleObject {
 public:
  // Stands for `grid` until Disconnect. The creator holds the first
  // reference.
  explicit GridTableAccessible(GridControl& grid) : grid_(&grid) {}

  void Disconnect() { grid_ = nullptr; }
  // The grid while it and its window live, else nullptr.
  GridControl* Grid() const;
  // The object of `row` (0 is the heading row), with a reference for the
  // caller.
  GridRowAccessible* NewRow(int row);

  // Child ids 1 to the row count stand for rows 0 to the row count - 1.
  static LONG ChildIdOfRow(int row) { return row + 1; }

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
  // Calls `call` on the object of the row that `child` names; E_INVALIDARG
  // for an id that names no row.
  template <typename Call>
  HRESULT ForRow(const VARIANT& child, Call call);

  GridControl* grid_;
};

}  // namespace pellox::win32
