// A fixture holding the whole Win32 program (platform layer, window, form)
// in the test process, with a command line that names no list file, on a
// thread that is a COM apartment as pellox.exe's is.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32/com_apartment.h"
#include "platform/win32/win32_program.h"
#include "win32_test_support.h"

namespace pellox::testing {

class Win32ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { program_.Create(); }
  void TearDown() override {
    // A quit request must not leak into the next test of this process.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  HWND Main() { return program_.Window().Window(); }
  HWND Control(layout::ControlId id) { return program_.Window().Control(id); }
  // Shows the window normally; FormShow runs first.
  void ShowNormally() {
    program_.Show(SW_SHOWNORMAL);
    DrainMessages();
  }
  // One round of the program's own message processing; true when a quit
  // request was among the messages.
  bool Pump() { return program_.Pump().ProcessPendingMessages(); }

  win32::ComApartment apartment_;
  win32::Win32Program program_{GetModuleHandleA(nullptr), std::string("pellox.exe")};
};

}  // namespace pellox::testing
