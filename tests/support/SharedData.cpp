#include "SharedData.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace testsupport {

std::filesystem::path SharedDir() { return WAD_SHARED_DIR; }

std::filesystem::path SharedPath(const std::string& relative) {
  return SharedDir() / relative;
}

std::vector<std::filesystem::path> SharedWads() {
  std::vector<std::filesystem::path> wads;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(SharedPath("wads"), error))
    if (entry.path().extension() == ".wad") wads.push_back(entry.path());
  std::sort(wads.begin(), wads.end());
  return wads;
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testsupport
