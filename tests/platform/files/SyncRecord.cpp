#include "SyncRecord.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <utility>

namespace {

std::atomic<bool> recording{false};
std::mutex callsLock;
std::vector<std::string> calls;

void Note(const char* call) {
  if (!recording) return;
  const std::lock_guard lock(callsLock);
  calls.emplace_back(call);
}

// The definition the system would have used, had this executable none.
template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int fd) {
  static const auto next = Next<int (*)(int)>("fsync");
  struct stat info {};
  if (recording) Note(::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? "flush folder" : "flush file");
  return next(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto next = Next<int (*)(const char*, const char*)>("rename");
  Note("rename");
  return next(from, to);
}

extern "C" int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept {
  static const auto next = Next<int (*)(int, const char*, int, const char*)>("renameat");
  Note("rename");
  return next(fromFolder, from, toFolder, to);
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) noexcept {
  static const auto next = Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
  Note("rename");
  return next(fromFolder, from, toFolder, to, flags);
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
