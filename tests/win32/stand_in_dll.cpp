// A stand-in for a system DLL, as an attacker would leave one beside a
// program: it exports the functions the program calls of the real DLL (each
// of them this one stub, which fails) and, when it is loaded, leaves an
// empty file named after itself with ".loaded" appended.
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(self, path, sizeof path);
  if (length == 0 || length >= sizeof path) return TRUE;
  const std::string marker = std::string(path, length) + ".loaded";
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}

extern "C" int PelloxStandIn() { return 0; }
