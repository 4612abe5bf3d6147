// What assistive technology sees of the windows of the test process: the
// accessible objects that oleacc gives for a window (through WM_GETOBJECT,
// as a screen reader gets them), their properties in UTF-8, and the
// WinEvents that the windows raise.
#pragma once

#include "platform/windows/win32_api.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

namespace pellox::testing {

using Microsoft::WRL::ComPtr;

// The object of `window`'s client area (OBJID_CLIENT) or of the window
// with its frame (OBJID_WINDOW), as AccessibleObjectFromWindow gives it;
// null when there is none.
ComPtr<IAccessible> ClientObjectOf(HWND window);
ComPtr<IAccessible> WindowObjectOf(HWND window);
// The system's own object of the client area, which a window's answer to
// WM_GETOBJECT does not reach.
ComPtr<IAccessible> SystemClientObjectOf(HWND window);

// An accessible element: an object, or a simple child of one.
struct Element {
  ComPtr<IAccessible> Object;
  LONG Child = CHILDID_SELF;
};

// The element a VARIANT of IAccessible names, children of `parent`;
// nothing for VT_EMPTY.
std::optional<Element> ElementOf(IAccessible* parent, const VARIANT& variant);
// Child `id` of `parent`: its own object when it has one.
Element ChildOf(IAccessible* parent, LONG id);

// The element's properties; "" and 0 where it has none.
std::string NameOf(const Element& element);
std::string ValueOf(const Element& element);
std::string DescriptionOf(const Element& element);
LONG RoleOf(const Element& element);
LONG StateOf(const Element& element);
LONG ChildCountOf(IAccessible* object);
// Where the element lies, in screen coordinates.
RECT LocationOf(const Element& element);
// The names of the elements in a selection VARIANT: one object, one child
// or an enumeration of either.
std::vector<std::string> SelectionNames(IAccessible* parent, VARIANT& selection);

// One WinEvent as a hook receives it.
struct WinEvent {
  DWORD Event;
  LONG Object;
  LONG Child;
  bool operator==(const WinEvent&) const = default;
};

// Records the object events (EVENT_OBJECT_*) that windows of this process
// raise for `window`, in the order raised, from construction to
// destruction. The hook runs in context, inside the raising call. One
// recorder at a time.
class WinEventRecorder {
 public:
  explicit WinEventRecorder(HWND window);
  ~WinEventRecorder();
  WinEventRecorder(const WinEventRecorder&) = delete;
  WinEventRecorder& operator=(const WinEventRecorder&) = delete;

  const std::vector<WinEvent>& Events() const { return events_; }
  // The events of one kind, in order.
  std::vector<WinEvent> Of(DWORD event) const;
  void Clear() { events_.clear(); }

 private:
  static void CALLBACK Hook(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                            DWORD);

  HWND window_;
  HWINEVENTHOOK hook_ = nullptr;
  std::vector<WinEvent> events_;
};

}  // namespace pellox::testing
