#pragma once
// Access to the real WAD files and data tables kept beside the checkout
// (../shared). Tests that need them skip visibly when they are absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// The folder holding wads/ and data/, as configured at build time.
std::filesystem::path SharedDir();

// SharedDir() / relative, whether or not it exists.
std::filesystem::path SharedPath(const std::string& relative);

// Every *.wad in SharedDir()/wads, sorted by name (empty when absent).
std::vector<std::filesystem::path> SharedWads();

// The whole of a file as bytes; empty when it cannot be read.
std::vector<unsigned char> ReadBytes(const std::filesystem::path& path);

}  // namespace testsupport

// Skips the current test, with a message naming the missing path, when a file
// or folder of ../shared is not there.
#define SKIP_WITHOUT_SHARED(relative)                                          \
  do {                                                                         \
    if (!std::filesystem::exists(::testsupport::SharedPath(relative)))         \
      GTEST_SKIP() << "shared data not found: "                                \
                   << ::testsupport::SharedPath(relative).string();            \
  } while (0)
