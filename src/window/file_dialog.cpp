#include "window/file_dialog.h"

namespace pellox {

std::vector<FilterChoice> ParseFilter(std::string_view filter) {
  std::vector<FilterChoice> choices;
  while (!filter.empty()) {
    size_t bar = filter.find('|');
    FilterChoice choice;
    choice.Description = std::string(filter.substr(0, bar));
    filter = bar == std::string_view::npos ? std::string_view() : filter.substr(bar + 1);
    bar = filter.find('|');
    choice.Pattern = std::string(filter.substr(0, bar));
    filter = bar == std::string_view::npos ? std::string_view() : filter.substr(bar + 1);
    choices.push_back(std::move(choice));
  }
  return choices;
}

std::string ApplyDefaultExt(const std::string& name, std::string_view defaultExt,
                            std::string_view separators) {
  if (defaultExt.empty() || name.empty()) return name;
  size_t base = name.find_last_of(separators);
  base = base == std::string::npos ? 0 : base + 1;
  if (name.find('.', base) != std::string::npos) return name;
  if (base == name.size()) return name;  // a folder, not a file name
  return name + "." + std::string(defaultExt);
}

void FileDialogState::Prepare(const DialogSetup& setup) {
  InitialDir = setup.InitialDir;
  Filter = setup.Filter;
  DefaultExt = setup.DefaultExt;
  if (setup.FileName) FileName = *setup.FileName;
}

void FileDialogState::Confirm(const std::string& path, int filterIndex) {
  FileName = path;
  FilterIndex = filterIndex;
}

}  // namespace pellox
