// The program entry of pellox.exe.
#include "platform/win32/win32_api.h"

#include <exception>

#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  try {
    pellox::win32::Win32Program program(instance);
    program.Create();
    program.Show(showCommand);
    program.Run();
    return 0;
  } catch (const std::exception& error) {
    // Only creating the application or its window can get here.
    MessageBoxW(nullptr, pellox::win32::WideFromUtf8(error.what()).c_str(),
                L"\u30a2\u30d7\u30ea\u30b1\u30fc\u30b7\u30e7\u30f3 \u30a8\u30e9\u30fc",
                MB_ICONSTOP | MB_OK);
    return 1;
  }
}
