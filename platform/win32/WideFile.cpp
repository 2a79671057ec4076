#include "win32/WideFile.h"

#include "win32/TextConversion.h"

#include <unistd.h>

std::FILE* _wfopen(const wchar_t* name, const wchar_t* mode) {
  const std::string path = Utf8FromWide(name);
  const std::string how = Utf8FromWide(mode);
  if (path.empty() || how.empty()) return nullptr;
  return std::fopen(path.c_str(), how.c_str());
}

BOOL DeleteFileA(const char* name) {
  if (name == nullptr || *name == '\0') return FALSE;
  return ::unlink(name) == 0 ? TRUE : FALSE;
}
