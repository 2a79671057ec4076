#include "SyncRecord.h"

#include <dlfcn.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <utility>

namespace {

std::atomic<bool> recording{false};
std::mutex callsLock;
std::vector<std::string> calls;

void Note(const char* call) {
  const std::lock_guard lock(callsLock);
  if (recording) calls.emplace_back(call);
}

}  // namespace

extern "C" int fsync(int fd) {
  static const auto next = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  struct stat info {};
  if (recording) Note(::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? "flush folder" : "flush file");
  return next(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto next = reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"));
  Note("rename");
  return next(from, to);
}

namespace filetests {

SyncRecord::SyncRecord() {
  Take();
  recording = true;
}

SyncRecord::~SyncRecord() { recording = false; }

std::vector<std::string> SyncRecord::Take() {
  const std::lock_guard lock(callsLock);
  return std::exchange(calls, {});
}

}  // namespace filetests
