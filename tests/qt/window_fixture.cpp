#include "window_fixture.h"

#include <QTest>

#include "window/layout.h"

namespace pellox::testing {

WindowFixture::WindowFixture(std::vector<std::string> printerNames) {
  for (std::string& name : printerNames) parts.printers.installed.push_back({name, std::nullopt});
  if (!printerNames.empty()) parts.printers.defaultPrinter = printerNames.front();
  parts.process.moduleFileName = "/opt/pellox tools/bin/pellox";
  application.SetTitle(layout::kApplicationTitle);
  parts_ = std::make_unique<Parts>(application, platform, pump);
  form = &parts_->form;
  window = &parts_->window;
  toolkit = &parts_->toolkit;
  window->SetEventHandler([this](FormEvent event) {
    events.push_back(event);
    if (forward_) form->Dispatch(event);
  });
}

WindowFixture::~WindowFixture() {
  parts_.reset();
  // Nothing of one test may reach the next.
  pump.ProcessPendingMessages();
}

void WindowFixture::ShowWindow() {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  ProcessMessages();
}

}  // namespace pellox::testing
