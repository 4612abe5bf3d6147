// The base of the layer's own window classes: registers the class, keeps
// `this` in the window's user data from WM_NCCREATE on and hands every
// message to the derived class's HandleMessage.
#pragma once

#include "platform/windows/win32_api.h"

namespace pellox::win32 {

template <typename Derived>
class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  // The derived part is gone by now: messages of the destruction go to the
  // default procedure.
  virtual ~BaseWindow() {
    if (!hwnd_) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }

  HWND Window() const { return hwnd_; }

 protected:
  // Registers the class on first use; the derived class names it.
  static bool Register(HINSTANCE instance, UINT classStyle, HBRUSH background, HCURSOR cursor,
                       HICON icon = nullptr) {
    WNDCLASSEXA wc{};
    if (GetClassInfoExA(instance, Derived::kClassName, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &BaseWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = Derived::kClassName;
    return RegisterClassExA(&wc) != 0;
  }

  HWND CreateAs(DWORD exStyle, const char* caption, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu, HINSTANCE instance) {
    return CreateWindowExA(exStyle, Derived::kClassName, caption, style, x, y, width, height,
                           parent, menu, instance, this);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = IntegerAs<CREATESTRUCTA*>(lParam);
      self = static_cast<Derived*>(static_cast<BaseWindow*>(create->lpCreateParams));
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->hwnd_ = hwnd;
    } else {
      self = IntegerAs<Derived*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
};

}  // namespace pellox::win32
