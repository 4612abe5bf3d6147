// Loads each DLL named on its command line by name alone, as a load-time
// import, the shell or a printer driver does: in the usual search order
// (the program's folder first, the current folder later), or, after
// "--system32-only", in the order pellox.exe sets for itself at start. The
// planted-DLL tests show with it where their stand-ins are found. The exit
// code is the number of names that did not load.
#include <windows.h>

#include <cstring>

#include "platform/windows/system_dlls.h"

int main(int argc, char** argv) {
  int first = 1;
  if (argc > 1 && std::strcmp(argv[1], "--system32-only") == 0) {
    pellox::win32::RestrictDllSearchToSystem32();
    first = 2;
  }
  int failed = 0;
  for (int i = first; i < argc; ++i) {
    if (!LoadLibraryA(argv[i])) ++failed;
  }
  return failed;
}
