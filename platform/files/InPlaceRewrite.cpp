#include "files/InPlaceRewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <vector>

#include "files/FileBeside.h"
#include "files/FileReason.h"
#include "files/WholeIo.h"

namespace {

bool ReadAll(int fd, std::vector<std::uint8_t>& into) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  try {
    into.resize(static_cast<std::size_t>(info.st_size));
  } catch (const std::bad_alloc&) {
    errno = ENOMEM;
    return false;
  }
  return ReadAllAt(fd, 0, into.data(), into.size());
}

// The whole content of the file becomes bytes.
bool Overwrite(int fd, std::span<const std::uint8_t> bytes, bool durable) {
  return WriteAllAt(fd, 0, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
         (!durable || ::fsync(fd) == 0);
}

// Copies old to an owner-only backup beside target, flushed with its folder
// when durable, so that a crash part-way through the rewrite still leaves the
// old content on the disk. 0, or the error number; backup names it. Where the
// folder takes no new name, no backup is made (backup stays empty) and the
// old bytes are kept in memory only, to be put back should the write fail.
int WriteBackup(const std::string& target, std::span<const std::uint8_t> old, bool durable, std::string& backup) {
  const int fd = CreateBackupBeside(target, backup);
  if (fd < 0) {
    const int error = ErrorNow();
    backup.clear();
    return FolderTakesNoNewName(error) ? 0 : error;
  }
  const bool written = WriteAllAt(fd, 0, old) && (!durable || ::fsync(fd) == 0);
  int error = written ? 0 : ErrorNow();
  if (::close(fd) != 0 && error == 0) error = ErrorNow();
  if (error == 0 && durable) error = FlushFolderOf(target);
  if (error == 0) return 0;
  ::unlink(backup.c_str());
  backup.clear();
  return error;
}

}  // namespace

InPlaceOutcome RewriteInPlace(const std::string& target, std::span<const std::uint8_t> bytes, bool durable) {
  errno = 0;
  const int fd = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  InPlaceOutcome outcome;
  if (fd < 0) {
    outcome.error = ErrorNow();
    return outcome;
  }
  std::vector<std::uint8_t> old;
  if (!ReadAll(fd, old)) outcome.error = ErrorNow();
  std::string backup;
  if (outcome.error == 0) outcome.error = WriteBackup(target, old, durable, backup);
  if (outcome.error == 0 && !Overwrite(fd, bytes, durable)) {
    outcome.error = ErrorNow();
    // The old content goes back where it was; only if that fails too is the
    // backup all that holds it, or, where none could be made, nothing.
    if (!Overwrite(fd, old, durable)) {
      outcome.backupLeft = backup;
      outcome.oldContentLost = backup.empty();
    }
  }
  ::close(fd);
  if (!backup.empty() && outcome.backupLeft.empty()) ::unlink(backup.c_str());
  return outcome;
}
