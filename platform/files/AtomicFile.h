#pragma once
// Replacing a file without ever leaving it half written: the new content goes
// to a new file beside it, owner-only while it is written, which is given the
// old one's owner, group, extended attributes and mode and renamed over it
// only when every byte is written. A file that no new file can replace so
// (several names, attributes a new file cannot be given, a folder that takes
// no new name) is rewritten where it lies instead, from a backup. On any
// failure the new file is removed, the old one keeps what it held and the
// reason says why.

#include <cstdint>
#include <span>
#include <string>

enum class LinkHandling {
  // The file a symbolic link names is replaced (the link stays a link). A
  // file with more than one name (hard links) is rewritten where it lies,
  // from a backup beside it should the write fail, so every name keeps it.
  kThroughLinks,
  // The name itself is replaced, whatever it names: a symbolic link or a
  // hard link there gets a file of its own and what it named is not touched.
  kReplaceName,
};

struct ReplaceOptions {
  LinkHandling links = LinkHandling::kThroughLinks;
  // Flushes the new file to the disk before the rename, and the folder after
  // it, so that a crash leaves the old or the new content, never an empty
  // file, and a save reported done stays done.
  bool durable = true;
};

// Replaces the content of path with bytes (or creates the file). Refused,
// with why set when given: a name that is no regular file (a folder, a
// FIFO), a file the user may not write, and any failure of the write, the
// flush or the rename, in the system's own words. An existing file's owner,
// group, extended attributes and permission bits are kept. Running out of
// memory is a refusal like any other, never an exception.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string* why = nullptr,
                         ReplaceOptions options = {});
