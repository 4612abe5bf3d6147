#include "platform/windows/system_dlls.h"

#include "platform/windows/win32_api.h"

#include <delayimp.h>

#include <string>

namespace pellox::win32 {

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// SetDefaultDllDirectories, or null where Windows lacks it and with it the
// LOAD_LIBRARY_SEARCH_* flags (Windows 7 without KB2533623): the check that
// the LoadLibraryEx documentation gives for those flags.
SetDefaultDllDirectoriesFunction DefaultDllDirectoriesSetter() {
  const FARPROC function =
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
  return reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(function));
}

HMODULE LoadFromSystem32(const char* name) {
  if (DefaultDllDirectoriesSetter()) {
    return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // Without the search flags: by its full path, its own imports searched for
  // in System32 first.
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The delay-load helper asks this first for each DLL it is about to load.
// The DLL comes from System32 or not at all: when it cannot be loaded from
// there, the helper's own failure is raised here, before the helper would
// search the usual folders (the program's first) for it.
FARPROC WINAPI LoadDelayLoadedDll(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  HMODULE module = LoadFromSystem32(info->szDll);
  if (!module) {
    info->dwLastError = GetLastError();
    ULONG_PTR failed[] = {reinterpret_cast<ULONG_PTR>(info)};
    RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 1, failed);
  }
  return reinterpret_cast<FARPROC>(module);
}

}  // namespace

void RestrictDllSearchToSystem32() {
  if (SetDefaultDllDirectoriesFunction setDefault = DefaultDllDirectoriesSetter()) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

}  // namespace pellox::win32

// Read by the delay-load helper of mingw-w64's runtime; this definition
// replaces the runtime's empty one in every program that links this file.
PfnDliHook __pfnDliNotifyHook2 = pellox::win32::LoadDelayLoadedDll;
