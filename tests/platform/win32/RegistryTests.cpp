#include "win32/Registry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { RegistryDeleteAll(); }
  void TearDown() override { RegistryDeleteAll(); }

  static LONG Create(HKEY parent, const char* path, HKEY* key, DWORD* disposition = nullptr) {
    return RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key,
                           disposition);
  }
  static LONG SetString(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  }
};

TEST_F(Registry, CreatesEveryMissingKeyOfAPathOnce) {
  HKEY deep = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Tool\\Settings", &deep, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  HKEY again = nullptr;
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "SOFTWARE\\tool", &again, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  HKEY same = nullptr;
  ASSERT_EQ(Create(again, nullptr, &same, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

  const RegistryKeyCopy root = RegistryReadTree(HKEY_CURRENT_USER);
  ASSERT_EQ(root.keys.size(), 1u);
  EXPECT_EQ(root.keys[0].name, "Software");
  ASSERT_EQ(root.keys[0].keys.size(), 1u);
  EXPECT_EQ(root.keys[0].keys[0].name, "Tool");
  ASSERT_EQ(root.keys[0].keys[0].keys.size(), 1u);
  EXPECT_EQ(root.keys[0].keys[0].keys[0].name, "Settings");
  EXPECT_EQ(RegistryReadTree(same).name, "Tool");
  for (HKEY key : {deep, again, same}) EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Registry, ReplacesValuesWhateverTheirCase) {
  HKEY key = nullptr;
  ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, "K", &key), ERROR_SUCCESS);
  EXPECT_EQ(SetString(key, "Name", "first"), ERROR_SUCCESS);
  EXPECT_EQ(SetString(key, "other", "x"), ERROR_SUCCESS);
  const DWORD number = 7;
  EXPECT_EQ(RegSetValueExA(key, "NAME", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
            ERROR_SUCCESS);
  const RegistryKeyCopy copy = RegistryReadTree(key);
  ASSERT_EQ(copy.values.size(), 2u);
  EXPECT_EQ(copy.values[0].name, "Name");
  EXPECT_EQ(copy.values[0].type, REG_DWORD);
  EXPECT_EQ(copy.values[0].data, std::vector<BYTE>({7, 0, 0, 0}));
  EXPECT_EQ(copy.values[1].data, std::vector<BYTE>({'x', 0}));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Registry, RefusesBadPathsAndClosedHandles) {
  HKEY key = nullptr;
  EXPECT_EQ(Create(HKEY_CURRENT_USER, "a\\\\b", &key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Create(HKEY_CURRENT_USER, "\\a", &key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Create(HKEY_CURRENT_USER, std::string(kRegistryMaxKeyNameLength + 1, 'k').c_str(), &key),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(key, nullptr);
  EXPECT_TRUE(RegistryReadTree(HKEY_CURRENT_USER).keys.empty());
  EXPECT_EQ(Create(HKEY_CURRENT_USER, std::string(kRegistryMaxKeyNameLength, 'k').c_str(), &key), ERROR_SUCCESS);

  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetString(key, "v", "x"), ERROR_INVALID_HANDLE);
  HKEY child = nullptr;
  EXPECT_EQ(Create(key, "c", &child), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  EXPECT_EQ(Create(HKEY_CURRENT_USER, "still open", &child), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
}

}  // namespace
