#include "platform/win32/win32_program.h"

#include <commctrl.h>

#include "window/layout.h"

namespace pellox::win32 {

namespace {

Win32ProcessInfo MakeProcessInfo(std::optional<std::string> commandLine) {
  return commandLine ? Win32ProcessInfo(std::move(*commandLine)) : Win32ProcessInfo();
}

}  // namespace

Win32Program::Win32Program(HINSTANCE instance, std::optional<std::string> commandLine,
                           Win32TaskbarProgress::ListFactory taskbarList)
    : instance_(instance),
      process_(MakeProcessInfo(std::move(commandLine))),
      progress_(std::move(taskbarList)),
      platform_{clock_, pump_, launcher_, printers_, files_, process_, progress_},
      application_(platform_),
      form_(application_, toolkit_, platform_),
      window_(form_.StringGrid1),
      toolkit_(window_) {}

void Win32Program::Create() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  application_.SetTitle(layout::kApplicationTitle);
  appWindow_.Create(instance_, application_.Title());
  window_.Create(instance_, appWindow_.Window());
  window_.SetForm(&form_);
  appWindow_.Attach(&window_, &progress_);
  pump_.SetDialogWindow(window_.Window());
}

void Win32Program::Show(int showCommand) {
  if (showCommand == SW_SHOWMINNOACTIVE) appWindow_.Minimise(SW_SHOWMINNOACTIVE);
  window_.Show(showCommand);
}

}  // namespace pellox::win32
