// The window's events, each handled by one handler of TForm1.
// System-independent code only.
#pragma once

namespace pellox {

enum class FormEvent {
  FormShow,
  Button1Click,
  Button2Click,
  Button3Click,
  Button4Click,
  Button5Click,
  Button6Click,
  Button7Click,
  MnuNewClick,
  MnuOpenClick,
  MnuSaveClick,
  MnuSaveAsClick,
  MnuExitClick,
};

}  // namespace pellox
