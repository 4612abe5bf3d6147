// The common part of the layer's own accessible objects (IAccessible, for
// screen readers and other assistive technology): QueryInterface, the
// IDispatch methods that clients of IAccessible never need, and the
// answers for what none of our objects has (help, keyboard shortcut,
// default action, writable name or value). The helpers below read and
// write the VARIANTs and BSTRs of the interface.
#pragma once

#include "platform/windows/win32_api.h"

#include <oleacc.h>

#include <optional>
#include <string_view>

#include "platform/win32/com_object.h"

namespace pellox::win32 {

class AccessibleObject : public ComObject<IAccessible> {
 public:
  // IUnknown: IAccessible, IDispatch and IUnknown, one identity.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;

  // IDispatch: no type information; clients call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;
};

// The child id a VARIANT names (CHILDID_SELF for the object itself), or
// nothing when it is no VT_I4.
std::optional<LONG> ChildIdOf(const VARIANT& child);

// A VARIANT naming a child id.
VARIANT ChildVariant(LONG child);
// A VARIANT holding `object` (a reference passed to the caller).
VARIANT ObjectVariant(IDispatch* object);

// `text`, in the system's 8-bit code page as every text of the window, as
// a new BSTR; S_OK, or E_OUTOFMEMORY.
HRESULT AnsiBstr(std::string_view text, BSTR* result);
// The same for a wide text.
HRESULT WideBstr(std::wstring_view text, BSTR* result);

}  // namespace pellox::win32
