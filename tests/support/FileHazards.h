#pragma once
// What users' files and disks do to a program, made real for tests: a FIFO
// that nobody writes, a user without root's rights, a file system that is
// full. Checks that must not touch the test process (dropped rights, a
// file-size limit with the program's own signal handling, a mount) run in a
// child process that reports back what went wrong.

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

// Opens the other end of the FIFO to whoever waits on one end: as a writer
// that writes nothing, or as a reader that takes whatever is written.
inline void ReleaseFifo(const std::string& fifo) {
  const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) {
    ::close(writer);
    return;
  }
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  if (reader < 0) return;
  ::fcntl(reader, F_SETFL, ::fcntl(reader, F_GETFL) & ~O_NONBLOCK);
  char sink[4096];
  while (::read(reader, sink, sizeof sink) > 0) {}
  ::close(reader);
}

// Runs body, which may open the FIFO at fifo. Should that open wait for the
// other end, a watchdog opens it after a while, which releases the wait: the
// test then fails instead of hanging. True when the watchdog had to.
inline bool WaitedOnFifo(const std::string& fifo, const std::function<void()>& body) {
  std::mutex lock;
  std::condition_variable done;
  bool finished = false, blocked = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> guard(lock);
    if (done.wait_for(guard, std::chrono::seconds(20), [&] { return finished; })) return;
    blocked = true;
    guard.unlock();
    ReleaseFifo(fifo);
  });
  body();
  {
    std::lock_guard<std::mutex> guard(lock);
    finished = true;
  }
  done.notify_one();
  watchdog.join();
  return blocked;
}

// What a child reports when it could not check what it was asked to.
inline const std::string kChildSkipped = "skipped: ";

// Runs body in a child process and returns what it returned: empty when all
// was well, else what went wrong. A child ended by a signal reports that.
inline std::string RunInChild(const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe to a child";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    const std::string report = body();
    [[maybe_unused]] const ssize_t written = ::write(channel[1], report.data(), report.size());
    ::_exit(0);  // no exit handlers: they belong to the test process
  }
  ::close(channel[1]);
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;)
    if (n > 0) report.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR) break;
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) return report + "child ended by signal " + std::to_string(WTERMSIG(status));
  return report;
}

// In a child: gives up root's rights (which pass over file modes) for those
// of the user nobody. Empty when the process now has a user's rights.
inline std::string BecomeUnprivileged() {
  constexpr uid_t kNobody = 65534;
  if (::geteuid() != 0) return {};
  if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
    return kChildSkipped + "root's rights could not be given up, so file modes cannot be checked";
  return {};
}

// In a child: mounts a fresh file system of `bytes` bytes on folder, seen by
// this process only. Empty when it is mounted.
inline std::string MountSmallFileSystem(const std::string& folder, std::size_t bytes) {
  const std::string options = "size=" + std::to_string(bytes);
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
    return kChildSkipped + "no small file system can be mounted here (it needs root with the right to mount)";
  return {};
}

// Fills the file system that holds folder, with one file there.
inline void FillFileSystem(const std::string& folder) {
  const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const char block[4096] = {};
  while (::write(fd, block, sizeof block) > 0) {}
  while (::write(fd, block, 1) > 0) {}
  ::close(fd);
}

}  // namespace testsupport

// Fails with what the child reported, or skips with its reason.
#define EXPECT_CHILD_CLEAN(report)                                                                       \
  do {                                                                                                   \
    const std::string childReport = (report);                                                            \
    if (childReport.starts_with(testsupport::kChildSkipped)) GTEST_SKIP() << childReport;                \
    EXPECT_EQ(childReport, "");                                                                          \
  } while (false)
