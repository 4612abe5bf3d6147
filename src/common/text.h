// Small text helpers shared by the subsystems. System-independent code only.
#pragma once

#include <string>
#include <string_view>

namespace pellox {

// The text of the standard error report: the message, with "." appended when
// it is not empty and its last byte sorts after "." (so a message ending in a
// multi-byte character always gets one, and one ending in ")" does not).
std::string ErrorReportText(std::string_view message);

// Everything up to and including the last byte of `path` that is one of
// `separators`; empty when the path holds none of them.
std::string FolderPart(std::string_view path, std::string_view separators);

}  // namespace pellox
