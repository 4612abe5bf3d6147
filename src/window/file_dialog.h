// What a file dialog keeps between uses and the rules it applies to its
// filter and to typed names. The front ends show the real dialog from it.
// System-independent code only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellox {

enum class DialogId { OpenDialog1, SaveDialog1 };

enum class DialogKind { Open, Save };

struct FilterChoice {
  std::string Description;
  std::string Pattern;  // "*.lst", "*.*"; several patterns separated by ";"
};

// "EXE Files(*.exe)|*.exe|All Files(*.*)|*.*" -> two choices.
std::vector<FilterChoice> ParseFilter(std::string_view filter);

// A typed name without an extension gets `defaultExt` ("abc" -> "abc.lst");
// with an empty `defaultExt`, or a name with an extension, it is unchanged.
// `separators` are the path's folder separators.
std::string ApplyDefaultExt(const std::string& name, std::string_view defaultExt,
                            std::string_view separators);

// The properties a command sets before it shows a dialog. FileName is left
// alone when absent, so the dialog offers the name chosen last.
struct DialogSetup {
  std::string InitialDir;
  std::string Filter;
  std::string DefaultExt;
  std::optional<std::string> FileName;
};

// A dialog's properties, kept from one use to the next.
struct FileDialogState {
  std::string InitialDir;
  std::string Filter;
  std::string DefaultExt;
  std::string FileName;
  int FilterIndex = 1;  // counts from 1

  void Prepare(const DialogSetup& setup);
  // After the user confirmed `path` with filter choice `filterIndex`.
  void Confirm(const std::string& path, int filterIndex);
};

// Paths longer than this are refused by the dialogs.
inline constexpr size_t kMaxDialogPath = 259;

}  // namespace pellox
