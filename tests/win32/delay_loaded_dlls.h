// The system DLLs that pellox.exe delay-loads (one .def file each in
// src/platform/windows/delay_loaded), by file name in lower case, as the
// build names their stand-ins (PELLOX_STAND_INS).
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace pellox::testing {

inline std::vector<std::string> DelayLoadedDlls() {
  std::vector<std::string> names;
  std::istringstream list(PELLOX_STAND_INS);
  for (std::string name; std::getline(list, name, ',');) names.push_back(name);
  return names;
}

}  // namespace pellox::testing
