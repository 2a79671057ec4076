#pragma once
// Wide file names (code points in WCHAR) as the UTF-8 the C library opens.

#include <string>

#include "win32/Win32Types.h"

namespace d3d8 {

std::string WideToUtf8(const WCHAR* text);

}  // namespace d3d8
