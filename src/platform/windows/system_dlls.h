// Where pellox.exe finds its system DLLs. At load time it imports only
// KnownDLLs, which Windows always takes from System32. Every other system
// DLL it needs is delay-loaded (one .def file each in delay_loaded/): the
// first call of one of its functions loads it by name from System32 alone,
// so that no DLL of that name beside pellox.exe or in the current folder is
// ever loaded instead. Side-by-side redirection (the manifest's choice of
// common controls) still applies.
#pragma once

namespace pellox::win32 {

// Makes System32 the only folder searched for any DLL this process loads by
// name from now on: the delay-loaded ones and those the system loads for the
// program later (the shell's, the dialogs', the printer drivers'). The
// program's folder and the current folder are left out. Started programs
// keep their own search order. WinMain calls it first. On Windows 7 without
// the update that brings SetDefaultDllDirectories (KB2533623) it changes
// nothing; the delay-loaded DLLs still come from System32.
void RestrictDllSearchToSystem32();

}  // namespace pellox::win32
