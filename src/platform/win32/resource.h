// The ids of pellox.exe's resources (pellox.rc.in), shared by the resource
// script and the code that loads them.
#pragma once

#define IDI_PELLOX 1
