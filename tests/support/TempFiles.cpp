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

}  // namespace testsupport
