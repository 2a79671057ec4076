#include "files/ExtendedAttributes.h"

#include <sys/types.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "files/FileReason.h"

namespace {

using Bytes = std::vector<char>;

constexpr std::string_view kSystemLabels = "security.";

// What a call of the list/get kind gives into a buffer of the size it asks
// for; nothing, with errno set, when it fails. ERANGE (the value grew since
// its size was asked for) asks again.
template <typename Read>
std::optional<Bytes> ReadSized(Read read) {
  for (;;) {
    const ssize_t size = read(nullptr, 0);
    if (size < 0) return std::nullopt;
    Bytes into(static_cast<std::size_t>(size));
    const ssize_t got = read(into.data(), into.size());
    if (got >= 0) {
      into.resize(static_cast<std::size_t>(got));
      return into;
    }
    if (errno != ERANGE) return std::nullopt;
  }
}

// The names in a list as the system gives it: each ends in '\0'.
std::vector<std::string> Split(const Bytes& list) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size();) {
    names.emplace_back(list.data() + at);
    at += names.back().size() + 1;
  }
  return names;
}

std::optional<std::vector<std::string>> NamesOf(const std::string& path) {
  const auto list = ReadSized([&](char* into, std::size_t size) { return ::llistxattr(path.c_str(), into, size); });
  if (!list) return std::nullopt;
  return Split(*list);
}

std::optional<std::vector<std::string>> NamesOf(int fd) {
  const auto list = ReadSized([&](char* into, std::size_t size) { return ::flistxattr(fd, into, size); });
  if (!list) return std::nullopt;
  return Split(*list);
}

// The value the new file holds under name; nothing when it holds none.
std::optional<Bytes> ValueOf(int fd, const std::string& name) {
  return ReadSized([&](void* into, std::size_t size) { return ::fgetxattr(fd, name.c_str(), into, size); });
}

int SetEach(const std::string& from, int to, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const auto value =
        ReadSized([&](void* into, std::size_t size) { return ::lgetxattr(from.c_str(), name.c_str(), into, size); });
    if (!value) return ErrorNow();
    // Equal already, as a label the system gave the new file may be: it
    // need not (and perhaps may not) be set.
    if (ValueOf(to, name) == value) continue;
    if (::fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0) return ErrorNow();
  }
  return 0;
}

int RemoveOthers(int to, const std::vector<std::string>& kept) {
  const auto held = NamesOf(to);
  if (!held) return errno == ENOTSUP ? 0 : ErrorNow();
  for (const std::string& name : *held) {
    if (name.starts_with(kSystemLabels) || std::ranges::find(kept, name) != kept.end()) continue;
    if (::fremovexattr(to, name.c_str()) != 0) return ErrorNow();
  }
  return 0;
}

}  // namespace

int CopyExtendedAttributes(const std::string& from, int to) {
  errno = 0;
  try {
    const auto names = NamesOf(from);
    // A file system without extended attributes has none to keep.
    if (!names) return errno == ENOTSUP ? 0 : ErrorNow();
    if (const int error = SetEach(from, to, *names); error != 0) return error;
    return RemoveOthers(to, *names);
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  }
}
