// A TForm1 on the fake toolkit whose clock, message pump, launcher and files
// the benchmark chooses (real ones where the figure depends on them); the
// printers, profile and command line stay fakes.
#pragma once

#include "app/application.h"
#include "fake_platform.h"
#include "fake_toolkit.h"
#include "form_harness.h"
#include "window/form1.h"

namespace pellox::bench {

struct BenchForm {
  BenchForm(TickClock& clock, MessagePump& pump, Launcher& launcher, FileSystem& files)
      : platform{clock, pump, launcher, printers, files, process},
        application(platform),
        form(application, ui, platform) {
    application.SetTitle("Pellox");
    form.Dispatch(FormEvent::FormShow);
  }

  // Types the three entry fields and presses "Add".
  void Add(const std::string& delay, const std::string& exeName, const std::string& parameter) {
    ui.SetText(EditField::Edit1, delay);
    ui.SetText(EditField::Edit2, exeName);
    ui.SetText(EditField::Edit3, parameter);
    form.Dispatch(FormEvent::Button2Click);
  }

  testing::FakeToolkit ui;
  testing::FakePrinterSystem printers;
  testing::FakeProcessInfo process;
  Platform platform;
  TApplication application;
  TForm1 form;
};

}  // namespace pellox::bench
