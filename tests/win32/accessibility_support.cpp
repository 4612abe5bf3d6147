#include "accessibility_support.h"

#include <utility>

#include "platform/win32/accessible_object.h"
#include "platform/windows/text_conversion.h"

namespace pellox::testing {

namespace {

ComPtr<IAccessible> ObjectOf(HWND window, LONG id) {
  ComPtr<IAccessible> object;
  AccessibleObjectFromWindow(window, static_cast<DWORD>(id), __uuidof(IAccessible),
                             reinterpret_cast<void**>(object.GetAddressOf()));
  return object;
}

VARIANT Self(const Element& element) { return win32::ChildVariant(element.Child); }

std::string Text(HRESULT (IAccessible::*property)(VARIANT, BSTR*), const Element& element) {
  BSTR text = nullptr;
  const HRESULT result = (element.Object.Get()->*property)(Self(element), &text);
  if (FAILED(result) || !text) return "";
  std::string utf8 = win32::Utf8FromWide(std::wstring_view(text, SysStringLen(text)));
  SysFreeString(text);
  return utf8;
}

LONG Number(HRESULT (IAccessible::*property)(VARIANT, VARIANT*), const Element& element) {
  VARIANT value;
  VariantInit(&value);
  if (FAILED((element.Object.Get()->*property)(Self(element), &value)) || value.vt != VT_I4) {
    VariantClear(&value);
    return 0;
  }
  return value.lVal;
}

}  // namespace

ComPtr<IAccessible> ClientObjectOf(HWND window) { return ObjectOf(window, OBJID_CLIENT); }

ComPtr<IAccessible> WindowObjectOf(HWND window) { return ObjectOf(window, OBJID_WINDOW); }

ComPtr<IAccessible> SystemClientObjectOf(HWND window) {
  ComPtr<IAccessible> object;
  CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                            reinterpret_cast<void**>(object.GetAddressOf()));
  return object;
}

std::optional<Element> ElementOf(IAccessible* parent, const VARIANT& variant) {
  switch (variant.vt) {
    case VT_I4:
      return Element{parent, variant.lVal};
    case VT_DISPATCH: {
      ComPtr<IAccessible> object;
      if (!variant.pdispVal ||
          FAILED(variant.pdispVal->QueryInterface(
              __uuidof(IAccessible), reinterpret_cast<void**>(object.GetAddressOf())))) {
        return std::nullopt;
      }
      return Element{object, CHILDID_SELF};
    }
    default:
      return std::nullopt;
  }
}

Element ChildOf(IAccessible* parent, LONG id) {
  ComPtr<IDispatch> child;
  if (parent->get_accChild(win32::ChildVariant(id), child.GetAddressOf()) == S_OK && child) {
    ComPtr<IAccessible> object;
    child.As(&object);
    return {object, CHILDID_SELF};
  }
  return {parent, id};
}

std::string NameOf(const Element& element) { return Text(&IAccessible::get_accName, element); }
std::string ValueOf(const Element& element) { return Text(&IAccessible::get_accValue, element); }
std::string DescriptionOf(const Element& element) {
  return Text(&IAccessible::get_accDescription, element);
}
LONG RoleOf(const Element& element) { return Number(&IAccessible::get_accRole, element); }
LONG StateOf(const Element& element) { return Number(&IAccessible::get_accState, element); }

LONG ChildCountOf(IAccessible* object) {
  LONG count = 0;
  object->get_accChildCount(&count);
  return count;
}

RECT LocationOf(const Element& element) {
  LONG left = 0, top = 0, width = 0, height = 0;
  element.Object->accLocation(&left, &top, &width, &height, Self(element));
  return {left, top, left + width, top + height};
}

std::vector<std::string> SelectionNames(IAccessible* parent, VARIANT& selection) {
  std::vector<std::string> names;
  if (selection.vt == VT_UNKNOWN) {
    ComPtr<IEnumVARIANT> items;
    if (selection.punkVal) selection.punkVal->QueryInterface(items.GetAddressOf());
    VARIANT item;
    VariantInit(&item);
    while (items && items->Next(1, &item, nullptr) == S_OK) {
      if (const std::optional<Element> element = ElementOf(parent, item)) {
        names.push_back(NameOf(*element));
      }
      VariantClear(&item);
    }
  } else if (const std::optional<Element> element = ElementOf(parent, selection)) {
    names.push_back(NameOf(*element));
  }
  VariantClear(&selection);
  return names;
}

namespace {

WinEventRecorder* g_recorder = nullptr;

}  // namespace

WinEventRecorder::WinEventRecorder(HWND window) : window_(window) {
  g_recorder = this;
  hook_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_END, GetModuleHandleA(nullptr),
                          &WinEventRecorder::Hook, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
}

WinEventRecorder::~WinEventRecorder() {
  if (hook_) UnhookWinEvent(hook_);
  g_recorder = nullptr;
}

void CALLBACK WinEventRecorder::Hook(HWINEVENTHOOK, DWORD event, HWND window, LONG object,
                                     LONG child, DWORD, DWORD) {
  if (g_recorder && window == g_recorder->window_) {
    g_recorder->events_.push_back({event, object, child});
  }
}

std::vector<WinEvent> WinEventRecorder::Of(DWORD event) const {
  std::vector<WinEvent> found;
  for (const WinEvent& each : events_) {
    if (each.Event == event) found.push_back(each);
  }
  return found;
}

}  // namespace pellox::testing
