#pragma once
// Rewriting a file where it lies, for a file with several names (hard
// links): a new file renamed over one name would part it from the others, so
// the bytes go into the file itself. Its old content is first copied to a
// backup beside it and flushed, so that a write that fails part-way is undone
// from memory, and a crash part-way still leaves the old content on the disk.

#include <cstdint>
#include <span>
#include <string>

// Replaces the content of the regular file at target with bytes. Returns 0,
// or the error number of the first step that failed; the file then holds its
// old content again. Should even that fail, the backup stays and backupLeft
// names it.
int RewriteInPlace(const std::string& target, std::span<const std::uint8_t> bytes, bool durable,
                   std::string& backupLeft);
