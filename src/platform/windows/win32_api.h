// <windows.h> for this layer. The A/W macros that share their names with
// methods of the core's platform interfaces are removed, so that every file
// sees the same method names whatever it includes first; the layer calls
// the "A" functions by their full names.
#pragma once

#include <windows.h>
#include <winspool.h>

#undef EnumPrinters
#undef GetProfileString
#undef WriteProfileString
