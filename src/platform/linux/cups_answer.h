// What the CUPS helper (pellox-cups) tells the program: the scheduler's
// destinations or the errno value of a question that failed, as bytes on
// its standard output. Both sides use this one form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellox {

struct CupsDestination {
  std::string Name;
  bool Instance = false;  // an lpoptions instance of the printer `Name`
  bool Default = false;   // the user's default destination
  std::optional<std::string> DeviceUri;
};

struct CupsAnswer {
  uint32_t Error = 0;  // errno value; 0: the scheduler answered
  std::vector<CupsDestination> Destinations;
};

// The answer as fields that each end with a NUL byte: the error, the number
// of destinations, then per destination its marks ('i' instance, 'd'
// default, 'u' with a device URI), its name and its device URI.
std::string EncodeCupsAnswer(const CupsAnswer& answer);

// The answer that EncodeCupsAnswer made, or nothing for any other bytes (an
// answer cut short, for one).
std::optional<CupsAnswer> DecodeCupsAnswer(std::string_view bytes);

}  // namespace pellox
