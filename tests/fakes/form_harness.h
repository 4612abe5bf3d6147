// A TForm1 on the fake toolkit and fake platform, as the core's tests use it.
#pragma once

#include <string>
#include <vector>

#include "fake_platform.h"
#include "fake_toolkit.h"
#include "platform_harness.h"
#include "window/application.h"
#include "window/form1.h"

namespace pellox::testing {

// The platform's parts are the fakes unless the test passes real ones.
struct FormHarness : PlatformHarness {
  FakeToolkit ui;
  TApplication application{platform};
  TForm1 form{application, ui, platform};

  explicit FormHarness(const PlatformParts& real = {}) : PlatformHarness(real) {
    application.SetTitle("Pellox");
  }

  // Start-up as the program does it.
  void Show() { form.Dispatch(FormEvent::FormShow); }

  // Types the three entry fields.
  void Type(const std::string& delay, const std::string& exeName, const std::string& parameter) {
    ui.SetText(EditField::Edit1, delay);
    ui.SetText(EditField::Edit2, exeName);
    ui.SetText(EditField::Edit3, parameter);
  }
  // The form's grid.
  GridModel& Grid() { return form.StringGrid1; }
  std::string Cell(int column, int row) const {
    return std::string(form.StringGrid1.Cell(column, row));
  }
  // Moves the current row the way a click on a data row does.
  void SelectRow(int row) { Grid().Click(row, false); }
  // The entry cells of rows 1 to `rows`, "No.|Delay|ExeName|Parameter" each.
  std::vector<std::string> Rows(int rows) const {
    std::vector<std::string> result;
    for (int row = 1; row <= rows; ++row) {
      result.push_back(Cell(0, row) + "|" + Cell(1, row) + "|" + Cell(2, row) + "|" + Cell(3, row));
    }
    return result;
  }

  // Types the fields and presses "Add".
  void Add(const std::string& delay, const std::string& exeName,
           const std::string& parameter = "") {
    Type(delay, exeName, parameter);
    form.Dispatch(FormEvent::Button2Click);
  }
};

}  // namespace pellox::testing
