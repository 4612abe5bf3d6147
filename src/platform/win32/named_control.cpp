#include "platform/win32/named_control.h"

#include <wrl/client.h>

#include <optional>
#include <string>

#include "platform/win32/accessible_object.h"
#include "platform/windows/text_conversion.h"

namespace pellox::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// Where the control's names and its own window procedure are kept.
constexpr const char* kProperty = "PelloxAccessibleName";

struct Naming {
  WNDPROC original;
  std::wstring name;
  std::wstring description;
};

bool IsSelf(const VARIANT& child) { return ChildIdOf(child) == CHILDID_SELF; }

// The system's object of a control with our name and description.
class NamedAccessible : public AccessibleObject {
 public:
  NamedAccessible(HWND control, const Naming& naming, ComPtr<IAccessible> system)
      : control_(control),
        name_(naming.name),
        description_(naming.description),
        system_(std::move(system)) {}

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return system_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!IsWindow(control_)) return CO_E_OBJNOTCONNECTED;
    return WideBstr(name_, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!IsSelf(child) || description_.empty()) {
      return system_->get_accDescription(child, description);
    }
    if (!description) return E_POINTER;
    *description = nullptr;
    if (!IsWindow(control_)) return CO_E_OBJNOTCONNECTED;
    return WideBstr(description_, description);
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return system_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return system_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return system_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return system_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return system_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return system_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return system_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return system_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return system_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return system_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return system_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return system_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return system_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return system_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return system_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return system_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return system_->put_accValue(child, value);
  }

 private:
  HWND control_;
  std::wstring name_;
  std::wstring description_;
  ComPtr<IAccessible> system_;
};

// The named object for WM_GETOBJECT; nothing when the system has none to
// wrap.
std::optional<LRESULT> ClientObject(HWND control, const Naming& naming, WPARAM flags) {
  ComPtr<IAccessible> system;
  if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(system.GetAddressOf())))) {
    return std::nullopt;
  }
  ComPtr<IAccessible> named;
  named.Attach(new NamedAccessible(control, naming, std::move(system)));
  return LresultFromObject(__uuidof(IAccessible), flags, named.Get());
}

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* naming = static_cast<Naming*>(GetPropA(control, kProperty));
  if (!naming) return DefWindowProcA(control, message, wParam, lParam);
  const WNDPROC original = naming->original;
  // The id arrives as a 32-bit value, sign-extended or not.
  if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
    if (const std::optional<LRESULT> object = ClientObject(control, *naming, wParam)) {
      return *object;
    }
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(control, kProperty);
    delete naming;
  }
  return CallWindowProcA(original, control, message, wParam, lParam);
}

}  // namespace

void NameForAssistiveTechnology(HWND control, std::string_view name, std::string_view description) {
  auto* naming = new Naming{nullptr, WideFromAnsi(name), WideFromAnsi(description)};
  if (!SetPropA(control, kProperty, naming)) {
    delete naming;
    return;
  }
  naming->original = IntegerAs<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NamedControlProc)));
  if (!naming->original) {
    RemovePropA(control, kProperty);
    delete naming;
  }
}

}  // namespace pellox::win32
