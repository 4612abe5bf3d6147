// The byte that ends a list file's data (Ctrl+Z). It lives below every
// layer because the list file (runlist), the in-place overwrite (platform)
// and the entry fields of the front ends all rest on it. System-independent
// code only.
#pragma once

namespace pellox {

// Data ends at the first 0x1A, wherever it stands: nothing at or after it
// is read.
inline constexpr char kEndOfDataByte = 0x1A;

}  // namespace pellox
