#include "platform/qt/linux_program.h"

#include "window/layout.h"

namespace pellox {

LinuxProgram::LinuxProgram(int argc, char** argv, std::vector<std::string> startEnvironment,
                           std::optional<std::string> cupsHelper)
    : launcher_(std::move(startEnvironment)),
      process_(argc, argv),
      printers_(cupsHelper ? std::move(*cupsHelper)
                           : CupsHelperBeside(process_.ModuleFileName(), PELLOX_HELPER_FOLDER)),
      platform_{clock_, pump_, launcher_, printers_, files_, process_, presence_, memory_},
      application_(platform_),
      form_(application_, toolkit_, platform_),
      window_(pump_, form_.StringGrid1),
      toolkit_(window_) {
  application_.SetTitle(layout::kApplicationTitle);
  window_.SetEventHandler([this](FormEvent event) { form_.Dispatch(event); });
}

int LinuxProgram::Run() {
  form_.Dispatch(FormEvent::FormShow);
  window_.show();
  presence_.MainWindowShown();
  application_.Run();
  return 0;
}

}  // namespace pellox
