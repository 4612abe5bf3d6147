#include "platform/win32/row_enumerator.h"

#include <algorithm>

#include "platform/win32/grid_row_accessible.h"

namespace pellox::win32 {

HRESULT RowEnumerator::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IEnumVARIANT)) {
    *object = static_cast<IEnumVARIANT*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT RowEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  if (!items) return E_POINTER;
  if (!table_->Grid()) return CO_E_OBJNOTCONNECTED;
  ULONG done = 0;
  for (; done < count && next_ <= last_; ++done, ++next_) {
    VariantInit(&items[done]);
    items[done].vt = VT_DISPATCH;
    items[done].pdispVal = table_->NewRow(next_);
  }
  if (fetched) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

HRESULT RowEnumerator::Skip(ULONG count) {
  const long long left = static_cast<long long>(last_) + 1 - next_;
  const long long skipped = std::min(static_cast<long long>(count), left);
  next_ += static_cast<int>(skipped);
  return skipped == static_cast<long long>(count) ? S_OK : S_FALSE;
}

HRESULT RowEnumerator::Reset() {
  next_ = first_;
  return S_OK;
}

HRESULT RowEnumerator::Clone(IEnumVARIANT** copy) {
  if (!copy) return E_POINTER;
  *copy = new RowEnumerator(*table_.Get(), first_, last_, next_);
  return S_OK;
}

}  // namespace pellox::win32
