// The user-interface thread as a single-threaded COM apartment, for as long
// as the object lives: the accessible objects that the window hands to
// screen readers are COM objects, and their calls from other processes
// arrive through the thread's message loop.
#pragma once

#include "platform/windows/win32_api.h"

#include <objbase.h>

namespace pellox::win32 {

class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace pellox::win32
