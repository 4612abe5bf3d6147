// The rows of a highlighted block as the enumeration that a table's
// selection of several children is (IEnumVARIANT of row objects). Each row
// object is made only when it is asked for, so a block of a million rows
// costs nothing until read.
#pragma once

#include "platform/windows/win32_api.h"

#include <oaidl.h>
#include <wrl/client.h>

#include "platform/win32/com_object.h"
#include "platform/win32/grid_table_accessible.h"

namespace pellox::win32 {

class RowEnumerator : public ComObject<IEnumVARIANT> {
 public:
  // Rows `first` to `last` of `table`, which it keeps alive. The creator
  // holds the first reference.
  RowEnumerator(GridTableAccessible& table, int first, int last, int next = -1)
      : table_(&table), first_(first), last_(last), next_(next < 0 ? first : next) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

 private:
  Microsoft::WRL::ComPtr<GridTableAccessible> table_;
  int first_;
  int last_;
  int next_;
};

}  // namespace pellox::win32
