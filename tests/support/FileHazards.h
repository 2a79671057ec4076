#pragma once
// What users' files and disks do to a program, made real for tests: a FIFO
// that nobody opens, a user without root's rights, a full file system. What
// must not touch the test process runs in a child that reports what went wrong.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace testsupport {

inline std::size_t EntryCount(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator{}));
}

// Runs body, which may open fifo. Should that open wait for the other end,
// a watchdog opens that end after a while (as a writer of nothing, else as a
// reader that drains it), so the test fails instead of hanging. True then.
inline bool WaitedOnFifo(const std::string& fifo, const std::function<void()>& body) {
  std::promise<void> finished;
  auto watchdog = std::async(std::launch::async, [&, done = finished.get_future()] {
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return false;
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) {
      ::close(writer);
      return true;
    }
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ::fcntl(reader, F_SETFL, 0);
    char sink[4096];
    while (::read(reader, sink, sizeof sink) > 0) {}
    ::close(reader);
    return true;
  });
  body();
  finished.set_value();
  return watchdog.get();
}

// What a child reports when it could not check what it was asked to.
inline const std::string kChildSkipped = "skipped: ";

// Ends a child's report once its body has returned: a child that is gone
// without it was ended by what it ran (an exit, say) before its checks were done.
inline constexpr char kChildDone = '\0';

// Runs body in a child process; returns its report (empty when all was well),
// to which it adds that a check the body made itself failed (the child's
// output shows it), or that the child ended before its body returned.
inline std::string RunInChild(const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe to a child";
  const pid_t child = ::fork();
  if (child == 0) {
    const bool failedBefore = ::testing::Test::HasFailure();
    std::string report = body();
    if (!failedBefore && ::testing::Test::HasFailure()) report += "a check in the child failed; ";
    report += kChildDone;
    [[maybe_unused]] const ssize_t written = ::write(channel[1], report.data(), report.size());
    ::_exit(0);  // no exit handlers: they belong to the test process
  }
  ::close(channel[1]);
  if (child < 0) {
    ::close(channel[0]);
    return "no child process could be started";
  }
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<std::size_t>(n));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  const bool done = report.ends_with(kChildDone);
  if (done) report.pop_back();
  if (WIFSIGNALED(status)) return report + "child ended by signal " + std::to_string(WTERMSIG(status));
  return done ? report : report + "the child ended before its checks were done";
}

// In a child that took a user's ids: the checkout's folders may be closed to
// other users, and a child working in one could not find its way back once it
// left, so it works from the root. Empty when it has a folder it may enter.
inline std::string WorkWhereThisUserMay() {
  char here[PATH_MAX];
  if ((::getcwd(here, sizeof here) == nullptr || ::access(here, X_OK) != 0) && ::chdir("/") != 0)
    return kChildSkipped + "no folder this user may enter";
  return {};
}

// In a child: gives up root's rights (which pass over file modes) for those
// of the user nobody. Empty when the process now has a user's rights.
inline std::string BecomeUnprivileged() {
  constexpr uid_t kNobody = 65534;
  if (::geteuid() != 0) return {};
  if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
    return kChildSkipped + "root's rights could not be given up, so file modes cannot be checked";
  return WorkWhereThisUserMay();
}

// In a child: takes the ids of the user uid, of primary group gid and
// further groups, for whom root set up files first. Empty when the process
// now has that user's rights.
inline std::string BecomeUser(uid_t uid, gid_t gid, const std::vector<gid_t>& groups = {}) {
  if (::geteuid() != 0) return kChildSkipped + "only root can take another user's ids";
  if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
    return kChildSkipped + "user " + std::to_string(uid) + "'s ids could not be taken";
  return WorkWhereThisUserMay();
}

// In a child: mounts a small file system on folder, seen by this process
// only, lets first put there what it should hold, then fills it to the last
// byte with one more file. Empty when that was done.
inline std::string MountFullFileSystem(const std::string& folder, const std::function<void()>& first) {
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
    return kChildSkipped + "no small file system can be mounted here (it needs root with the right to mount)";
  first();
  const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
  const char block[4096] = {};
  while (::write(fd, block, sizeof block) > 0) {}
  while (::write(fd, block, 1) > 0) {}
  ::close(fd);
  return {};
}

}  // namespace testsupport

// Fails with what the child reported, or skips with its reason.
#define EXPECT_CHILD_CLEAN(report)                                                        \
  do {                                                                                    \
    const std::string childReport = (report);                                             \
    if (childReport.starts_with(testsupport::kChildSkipped)) GTEST_SKIP() << childReport; \
    EXPECT_EQ(childReport, "");                                                           \
  } while (false)
