#include "vcl/DialogPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vcl {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const String& text) { return fs::path(text.ToUtf8()); }

String TextOf(const fs::path& path) { return String::FromUtf8(path.string()); }

// A folder as a full path without a trailing separator, relative ones taken
// from the working folder.
fs::path FullFolder(const fs::path& folder) {
  std::error_code ignored;
  const fs::path absolute = fs::absolute(folder, ignored);
  fs::path full = (absolute.empty() ? folder : absolute).lexically_normal();
  if (!full.has_filename() && full.has_relative_path()) full = full.parent_path();
  return full;
}

fs::path WorkingFolder() {
  std::error_code failed;
  const fs::path here = fs::current_path(failed);
  return failed ? fs::path("/") : here;
}

}  // namespace

String StartFolder() {
  const char* named = std::getenv(kStartFolderVariable);
  std::error_code ignored;
  if (named != nullptr && *named != '\0' && fs::is_directory(named, ignored))
    return TextOf(FullFolder(named));
  return TextOf(WorkingFolder());
}

String DialogFolder(const FileDialogRequest& request) {
  if (!request.initialDir.IsEmpty()) return TextOf(FullFolder(PathOf(request.initialDir)));
  const fs::path fileFolder = PathOf(request.fileName).parent_path();
  if (!fileFolder.empty()) return TextOf(FullFolder(fileFolder));
  return StartFolder();
}

String PresetFile(const FileDialogRequest& request) {
  const fs::path name = PathOf(request.fileName).filename();
  if (name.empty()) return String();
  return TextOf(PathOf(DialogFolder(request)) / name);
}

String ResolveTypedName(const String& typed, const String& folder) {
  if (typed.IsEmpty()) return typed;
  const fs::path name = PathOf(typed);
  const fs::path full = name.is_absolute() ? name : PathOf(folder) / name;
  return TextOf(full.lexically_normal());
}

}  // namespace vcl
