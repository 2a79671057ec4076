#pragma once
// What a save asks of the disk, in order, while a SyncRecord lives: each
// flush of a file or a folder, and each rename. The test executable's own
// fsync and rename stand in for the system's and pass every call on.

#include <string>
#include <vector>

namespace filetests {

struct SyncRecord {
  SyncRecord();
  ~SyncRecord();
  // "flush file", "flush folder" and "rename" as they came; then cleared.
  std::vector<std::string> Take();
};

}  // namespace filetests
