// The Qt front end assembled as the program entry does, on the fake
// platform with the real message pump and a clock that runs ahead on every
// reading: the real main window, toolkit and TForm1. The fake printers are
// the ones named, the first of them the default; no file opens. Every
// event of the window is recorded before it reaches the form.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/qt/main_window.h"
#include "platform/qt/qt_message_pump.h"
#include "platform/qt/qt_toolkit.h"
#include "platform_harness.h"
#include "window/application.h"
#include "window/form1.h"

namespace pellox::testing {

class WindowFixture : public ::testing::Test {
 protected:
  explicit WindowFixture(std::vector<std::string> printers = {});
  ~WindowFixture() override;

  // Shows the window and waits until it is on the (offscreen) screen.
  void ShowWindow();
  // Handles everything queued, as the main loop does; true when a quit
  // request was among it.
  bool ProcessMessages() { return pump.ProcessPendingMessages(); }
  // The form's grid, which the window shows.
  GridModel& Grid() { return form->StringGrid1; }
  // Stops handing events to the form; they are only recorded.
  void RecordOnly() { forward_ = false; }

  SteppingClock clock;
  QtMessagePump pump;
  PlatformHarness parts{{.clock = &clock, .pump = &pump}};
  Platform& platform = parts.platform;
  TApplication application{platform};
  TForm1* form = nullptr;
  MainWindow* window = nullptr;
  QtToolkit* toolkit = nullptr;
  std::vector<FormEvent> events;

 private:
  // In the program's order: the form owns the grid the window shows.
  struct Parts {
    Parts(TApplication& application, Platform& platform, QtMessagePump& pump)
        : form(application, toolkit, platform), window(pump, form.StringGrid1), toolkit(window) {}
    TForm1 form;
    MainWindow window;
    QtToolkit toolkit;
  };
  std::unique_ptr<Parts> parts_;
  bool forward_ = true;
};

}  // namespace pellox::testing
