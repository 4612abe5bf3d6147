// A small program the tests start: it leaves one file in the folder named
// by PELLOX_MARKER_DIR holding its creation time (100-ns units, so the
// tests can order several starts) and its whole command line.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  char folder[MAX_PATH];
  if (!GetEnvironmentVariableA("PELLOX_MARKER_DIR", folder, sizeof folder)) return 2;
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;

  char name[MAX_PATH];
  if (!GetTempFileNameA(folder, "mk", 0, name)) return 3;
  FILE* file = std::fopen(name, "wb");
  if (!file) return 4;
  std::fprintf(file, "%020llu\n%s", ticks, GetCommandLineA());
  std::fclose(file);
  // Renamed only when complete, so a reader never sees half a file.
  const std::string done = std::string(name) + ".done";
  return MoveFileA(name, done.c_str()) ? 0 : 5;
}
