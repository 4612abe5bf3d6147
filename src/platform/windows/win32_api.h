// <windows.h> for this layer. The A/W macros that share their names with
// methods of the core's platform interfaces are removed, so that every file
// sees the same method names whatever it includes first; the layer calls
// the "A" functions by their full names.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <type_traits>

#undef EnumPrinters
#undef GetProfileString
#undef WriteProfileString

namespace pellox::win32 {

// Win32 carries handles and pointers in integers: a message's WPARAM and
// LPARAM, a window's LONG_PTR data, a child window's id or a system colour
// in place of a handle. Turns such an integer back into what it carries.
template <typename T, typename Integer>
T IntegerAs(Integer value) {
  static_assert(std::is_pointer_v<T> && std::is_integral_v<Integer>);
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the API's convention, not a lost optimisation
  return reinterpret_cast<T>(value);
}

}  // namespace pellox::win32
