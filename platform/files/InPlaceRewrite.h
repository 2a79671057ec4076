#pragma once
// Rewriting a file where it lies, for a file that a new file renamed over its
// name cannot replace: one with several names (hard links), which the rename
// would part; one whose owner, group, mode or extended attributes a new file
// could not be given; one in a folder that takes no new name. Its old content
// is first copied to an owner-only backup beside it and flushed, so that a
// write that fails part-way is undone from memory, and a crash part-way still
// leaves the old content on the disk. Where the folder takes no new name the
// old content is kept in memory only.

#include <cstdint>
#include <span>
#include <string>

struct InPlaceOutcome {
  // 0, or the error number of the first step that failed; the file then
  // holds its old content again, unless one of the two below says otherwise.
  int error = 0;
  // The backup kept because the old content could not be put back.
  std::string backupLeft;
  // The old content could not be put back, and no backup holds it.
  bool oldContentLost = false;
};

// Replaces the content of the regular file at target with bytes. A backup
// that cannot be made for any reason but a folder that takes no new name
// refuses the rewrite before the file is touched.
InPlaceOutcome RewriteInPlace(const std::string& target, std::span<const std::uint8_t> bytes, bool durable);
