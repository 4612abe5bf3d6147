// The reference counting of the layer's own COM objects: each is made with
// one reference, its creator's, and deletes itself when the last is
// released. Clients may release from any thread.
#pragma once

#include "platform/windows/win32_api.h"

#include <atomic>

namespace pellox::win32 {

// The system's interfaces have no destructor: COM objects are deleted by
// their own Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <typename Interface>
class ComObject : public Interface {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

}  // namespace pellox::win32
