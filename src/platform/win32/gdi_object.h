// A move-only owner of a GDI object (font, brush, pen), deleted when the
// owner goes away.
#pragma once

#include "platform/win32/win32_api.h"

namespace pellox::win32 {

template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T object) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(GdiObject&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      if (object_) DeleteObject(object_);
      object_ = other.object_;
      other.object_ = nullptr;
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  T Get() const { return object_; }

 private:
  T object_ = nullptr;
};

}  // namespace pellox::win32
