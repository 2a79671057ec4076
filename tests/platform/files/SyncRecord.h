#pragma once
// What a save asks of the disk, in order, while a SyncRecord lives: each
// flush of a file or a folder and each rename. The test executable's own
// fsync and rename stand in for the system's and pass every call on to it.

#include <string>
#include <vector>

namespace filetests {

class SyncRecord {
 public:
  SyncRecord();
  ~SyncRecord();
  SyncRecord(const SyncRecord&) = delete;
  SyncRecord& operator=(const SyncRecord&) = delete;

  // "flush file", "flush folder" and "rename", as they came; read and cleared.
  std::vector<std::string> Take();
};

}  // namespace filetests
