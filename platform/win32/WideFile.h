#pragma once
// Opening a file by a wide name and deleting a file, with the Win32 and C
// runtime meanings. Wide names are turned into UTF-8 paths.

#include "win32/Win32Types.h"

#include <cstdio>

// fopen with a wide name and a wide mode ("rb", "wb", ...); null on failure,
// also when a name or mode is null or empty.
std::FILE* _wfopen(const wchar_t* name, const wchar_t* mode);

// Removes a file (not a folder); TRUE when it is gone.
BOOL DeleteFileA(const char* name);
