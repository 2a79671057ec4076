#include "win32/Registry.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

// Names compare without regard to ASCII case: each is looked up by its
// lower-case form, so that a key with many subkeys or values still finds
// one at once.
std::string Folded(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

struct KeyNode {
  std::string name;
  std::vector<RegistryValueCopy> values;  // in the order they were created
  std::vector<std::shared_ptr<KeyNode>> keys;
  std::unordered_map<std::string, std::size_t> valueIndex;  // folded name -> index in values
  std::unordered_map<std::string, std::size_t> keyIndex;    // folded name -> index in keys

  void clear() {
    values.clear();
    keys.clear();
    valueIndex.clear();
    keyIndex.clear();
  }
};

}  // namespace

struct RegistryKeyHandle {
  std::shared_ptr<KeyNode> node;
  bool predefined = false;
};

namespace {

// Every open handle; a handle not in the set is refused rather than followed.
struct RegistryState {
  std::mutex lock;
  static constexpr int kRootCount = 2;
  RegistryKeyHandle roots[kRootCount];
  std::unordered_set<const RegistryKeyHandle*> open;

  RegistryState() {
    const char* names[kRootCount] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};
    for (int i = 0; i < kRootCount; ++i) {
      roots[i].node = std::make_shared<KeyNode>();
      roots[i].node->name = names[i];
      roots[i].predefined = true;
      open.insert(&roots[i]);
    }
  }
};

RegistryState& State() {
  static RegistryState state;
  return state;
}

std::shared_ptr<KeyNode> FindOrCreateKey(KeyNode& parent, std::string_view name, bool& created) {
  const auto [entry, added] = parent.keyIndex.try_emplace(Folded(name), parent.keys.size());
  if (!added) return parent.keys[entry->second];
  auto key = std::make_shared<KeyNode>();
  key->name = std::string(name);
  parent.keys.push_back(key);
  created = true;
  return key;
}

// The path split at '\\'; empty when a component is empty or too long.
std::vector<std::string_view> SplitPath(std::string_view path, bool& valid) {
  std::vector<std::string_view> parts;
  valid = true;
  if (path.empty()) return parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part.size() > kRegistryMaxKeyNameLength) {
      valid = false;
      return {};
    }
    parts.push_back(part);
    if (end == path.size()) return parts;
    start = end + 1;
  }
}

RegistryKeyCopy CopyKey(const KeyNode& node) {
  RegistryKeyCopy copy{node.name, node.values, {}};
  for (const auto& key : node.keys) copy.keys.push_back(CopyKey(*key));
  return copy;
}

}  // namespace

const HKEY HKEY_CURRENT_USER = &State().roots[0];
const HKEY HKEY_LOCAL_MACHINE = &State().roots[1];

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD /*reserved*/, char* /*className*/,
                     DWORD /*options*/, REGSAM /*access*/, void* /*security*/, PHKEY result,
                     DWORD* disposition) {
  RegistryState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (state.open.count(key) == 0) return ERROR_INVALID_HANDLE;
  bool valid = true;
  const auto parts = SplitPath(subKey == nullptr ? std::string_view() : std::string_view(subKey), valid);
  if (!valid) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<KeyNode> node = key->node;
  bool created = false;
  for (const std::string_view part : parts) node = FindOrCreateKey(*node, part, created);
  auto* handle = new RegistryKeyHandle{node, false};
  state.open.insert(handle);
  *result = handle;
  if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, const char* valueName, DWORD /*reserved*/, DWORD type,
                    const BYTE* data, DWORD size) {
  RegistryState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.open.count(key) == 0) return ERROR_INVALID_HANDLE;
  const std::string_view name = valueName == nullptr ? std::string_view() : std::string_view(valueName);
  if (name.size() > kRegistryMaxValueNameLength || (data == nullptr && size != 0))
    return ERROR_INVALID_PARAMETER;
  std::vector<BYTE> bytes(data, data + size);
  KeyNode& node = *key->node;
  const auto [entry, added] = node.valueIndex.try_emplace(Folded(name), node.values.size());
  if (added) {
    node.values.push_back({std::string(name), type, std::move(bytes)});
  } else {
    node.values[entry->second].type = type;
    node.values[entry->second].data = std::move(bytes);
  }
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  RegistryState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.open.count(key) == 0) return ERROR_INVALID_HANDLE;
  if (key->predefined) return ERROR_SUCCESS;
  state.open.erase(key);
  delete key;
  return ERROR_SUCCESS;
}

RegistryKeyCopy RegistryReadTree(HKEY key) {
  RegistryState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.open.count(key) == 0) return {};
  return CopyKey(*key->node);
}

void RegistryDeleteAll() {
  RegistryState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  for (auto& root : state.roots) root.node->clear();
}
