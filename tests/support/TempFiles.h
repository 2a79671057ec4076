#pragma once
// Names for scratch files that no other test can share: ctest runs test cases
// in parallel processes, and several test runs may share the machine.

#include <filesystem>
#include <string>

namespace testsupport {

// temp folder / "<stem>-<process id>-<n><extension>", n counting up per process.
std::filesystem::path UniqueTempPath(const std::string& stem, const std::string& extension);

// A folder of its own under the temp folder, named as above, removed with
// what it holds when the test ends, however it ends.
struct TempFolder {
  explicit TempFolder(const std::string& stem);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path path;
};

}  // namespace testsupport
