#include "window_fixture.h"

#include <QTest>

#include "window/layout.h"

namespace pellox::testing {

WindowFixture::WindowFixture(std::vector<std::string> printerNames) {
  for (std::string& name : printerNames) parts.printers.installed.push_back({name, std::nullopt});
  if (!printerNames.empty()) parts.printers.defaultPrinter = printerNames.front();
  parts.process.moduleFileName = "/opt/pellox tools/bin/pellox";
  application.SetTitle(layout::kApplicationTitle);
  window = std::make_unique<MainWindow>(pump);
  toolkit = std::make_unique<QtToolkit>(*window);
  form = std::make_unique<TForm1>(application, *toolkit, platform);
  window->SetEventHandler([this](FormEvent event) {
    events.push_back(event);
    if (forward_) form->Dispatch(event);
  });
}

WindowFixture::~WindowFixture() {
  form.reset();
  toolkit.reset();
  window.reset();
  // Nothing of one test may reach the next.
  pump.ProcessPendingMessages();
}

void WindowFixture::ShowWindow() {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ProcessMessages();
}

}  // namespace pellox::testing
