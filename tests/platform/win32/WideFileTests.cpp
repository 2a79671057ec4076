#include "win32/WideFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

std::filesystem::path ScratchFolder() {
  std::random_device seed;
  auto path = std::filesystem::temp_directory_path() / ("wide-file-test-" + std::to_string(seed()));
  std::filesystem::create_directories(path);
  return path;
}

TEST(WideFile, OpensByAWideNameAndDeletesFilesOnly) {
  const std::filesystem::path folder = ScratchFolder();
  const std::wstring name = folder.wstring() + L"/caf\u00E9 \U0001F600.txt";
  std::FILE* file = _wfopen(name.c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fputs("x", file);
  std::fclose(file);
  const std::string utf8Name = folder.string() + "/caf\xC3\xA9 \xF0\x9F\x98\x80.txt";
  EXPECT_TRUE(std::filesystem::exists(utf8Name));

  EXPECT_EQ(_wfopen(nullptr, L"rb"), nullptr);
  EXPECT_EQ(_wfopen(L"", L"rb"), nullptr);
  EXPECT_EQ(_wfopen(name.c_str(), nullptr), nullptr);

  EXPECT_EQ(DeleteFileA(folder.string().c_str()), FALSE);
  EXPECT_EQ(DeleteFileA(utf8Name.c_str()), TRUE);
  EXPECT_FALSE(std::filesystem::exists(utf8Name));
  EXPECT_EQ(DeleteFileA(utf8Name.c_str()), FALSE);
  EXPECT_EQ(DeleteFileA(nullptr), FALSE);
  std::filesystem::remove_all(folder);
}

}  // namespace
