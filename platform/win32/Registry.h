#pragma once
// An in-memory registry with the meanings of the Win32 calls the XML export
// uses: keys are created on demand (every missing key of a path), key and
// value names compare without regard to ASCII case, and setting a value that
// exists replaces its type and data. Nothing is stored on disk; the tree lives
// as long as the process. RegistryReadTree lets tests read a tree back.

#include "win32/Win32Types.h"

#include <string>
#include <vector>

struct RegistryKeyHandle;
typedef RegistryKeyHandle* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;

// The predefined roots; they are always open and closing them does nothing.
extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Longest key name (one path component) and value name, in characters.
constexpr std::size_t kRegistryMaxKeyNameLength = 255;
constexpr std::size_t kRegistryMaxValueNameLength = 16383;

// Opens subKey below key, creating every missing key of the path ('\\'
// separates keys; a null or empty path opens key itself again). A path with
// an empty or over-long component is refused with ERROR_INVALID_PARAMETER.
LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* className,
                     DWORD options, REGSAM access, void* security, PHKEY result,
                     DWORD* disposition);

// Stores size bytes of data as the value valueName (null or empty: the key's
// default value) of key.
LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD size);

LONG RegCloseKey(HKEY key);

// A copy of a key, for reading the tree back. Values and keys are listed in
// the order they were first created.
struct RegistryValueCopy {
  std::string name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct RegistryKeyCopy {
  std::string name;
  std::vector<RegistryValueCopy> values;
  std::vector<RegistryKeyCopy> keys;
};

// The key behind an open handle with everything below it; empty for a handle
// that is not open.
RegistryKeyCopy RegistryReadTree(HKEY key);

// Removes every key below the predefined roots. Handles that are still open
// stay valid but name keys that are no longer in the tree.
void RegistryDeleteAll();
