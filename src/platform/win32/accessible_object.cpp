#include "platform/win32/accessible_object.h"

#include "platform/windows/text_conversion.h"

namespace pellox::win32 {

HRESULT AccessibleObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
  return E_NOTIMPL;
}

HRESULT AccessibleObject::get_accHelp(VARIANT, BSTR* help) {
  if (!help) return E_POINTER;
  *help = nullptr;
  return S_FALSE;
}

HRESULT AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = 0;
  return S_FALSE;
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  *shortcut = nullptr;
  return S_FALSE;
}

HRESULT AccessibleObject::get_accDefaultAction(VARIANT, BSTR* action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  return S_FALSE;
}

HRESULT AccessibleObject::accDoDefaultAction(VARIANT) { return DISP_E_MEMBERNOTFOUND; }

HRESULT AccessibleObject::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT AccessibleObject::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

std::optional<LONG> ChildIdOf(const VARIANT& child) {
  if (child.vt != VT_I4) return std::nullopt;
  return child.lVal;
}

VARIANT ChildVariant(LONG child) {
  VARIANT result;
  VariantInit(&result);
  result.vt = VT_I4;
  result.lVal = child;
  return result;
}

VARIANT ObjectVariant(IDispatch* object) {
  VARIANT result;
  VariantInit(&result);
  result.vt = VT_DISPATCH;
  result.pdispVal = object;
  return result;
}

HRESULT WideBstr(std::wstring_view text, BSTR* result) {
  if (!result) return E_POINTER;
  *result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *result ? S_OK : E_OUTOFMEMORY;
}

HRESULT AnsiBstr(std::string_view text, BSTR* result) {
  return WideBstr(WideFromAnsi(text), result);
}

}  // namespace pellox::win32
