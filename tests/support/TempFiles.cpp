#include "TempFiles.h"

#include <unistd.h>

#include <atomic>

namespace testsupport {

std::filesystem::path UniqueTempPath(const std::string& stem, const std::string& extension) {
  static std::atomic<unsigned> next{0};
  const std::string name = stem + "-" + std::to_string(::getpid()) + "-" +
                           std::to_string(next++) + extension;
  return std::filesystem::temp_directory_path() / name;
}

TempFolder::TempFolder(const std::string& stem) : path(UniqueTempPath(stem, "")) {
  std::filesystem::create_directories(path);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

}  // namespace testsupport
