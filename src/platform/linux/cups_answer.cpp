#include "platform/linux/cups_answer.h"

#include <charconv>

namespace pellox {
namespace {

void AddField(std::string& out, std::string_view field) {
  out += field;
  out += '\0';
}

// Takes the next NUL-ended field from `bytes`; false when there is none.
bool NextField(std::string_view& bytes, std::string_view& field) {
  const size_t end = bytes.find('\0');
  if (end == std::string_view::npos) return false;
  field = bytes.substr(0, end);
  bytes.remove_prefix(end + 1);
  return true;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const char* last = text.data() + text.size();
  auto [end, error] = std::from_chars(text.data(), last, value);
  return !text.empty() && error == std::errc() && end == last;
}

}  // namespace

std::string EncodeCupsAnswer(const CupsAnswer& answer) {
  std::string out;
  AddField(out, std::to_string(answer.Error));
  AddField(out, std::to_string(answer.Destinations.size()));
  for (const CupsDestination& destination : answer.Destinations) {
    std::string marks;
    if (destination.Instance) marks += 'i';
    if (destination.Default) marks += 'd';
    if (destination.DeviceUri) marks += 'u';
    AddField(out, marks);
    AddField(out, destination.Name);
    AddField(out, destination.DeviceUri.value_or(""));
  }
  return out;
}

std::optional<CupsAnswer> DecodeCupsAnswer(std::string_view bytes) {
  CupsAnswer answer;
  std::string_view field;
  size_t count = 0;
  if (!NextField(bytes, field) || !ParseNumber(field, answer.Error)) return std::nullopt;
  if (!NextField(bytes, field) || !ParseNumber(field, count)) return std::nullopt;
  for (size_t i = 0; i < count; ++i) {
    std::string_view marks;
    std::string_view name;
    std::string_view uri;
    if (!NextField(bytes, marks) || !NextField(bytes, name) || !NextField(bytes, uri))
      return std::nullopt;
    CupsDestination destination{std::string(name), marks.find('i') != std::string_view::npos,
                                marks.find('d') != std::string_view::npos, std::nullopt};
    if (marks.find('u') != std::string_view::npos) destination.DeviceUri = std::string(uri);
    answer.Destinations.push_back(std::move(destination));
  }
  if (!bytes.empty()) return std::nullopt;
  return answer;
}

}  // namespace pellox
