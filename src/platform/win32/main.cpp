// The program entry of pellox.exe.
#include "platform/windows/win32_api.h"

#include <exception>

#include "platform/win32/com_apartment.h"
#include "platform/win32/error_box.h"
#include "platform/win32/win32_program.h"
#include "platform/windows/system_dlls.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Before anything can load a DLL.
  pellox::win32::RestrictDllSearchToSystem32();
  const pellox::win32::ComApartment apartment;
  try {
    pellox::win32::Win32Program program(instance);
    program.Create();
    program.Show(showCommand);
    program.Run();
    return 0;
  } catch (const std::exception& error) {
    // Only creating the application or its window can get here.
    pellox::win32::ShowStartUpError(error);
    return 1;
  }
}
