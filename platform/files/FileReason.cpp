#include "files/FileReason.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

int ErrorNow() { return errno != 0 ? errno : EIO; }

std::string FileErrorReason(int error) { return std::strerror(error); }

std::string NotRegularFileReason(mode_t mode) {
  if (S_ISDIR(mode)) return FileErrorReason(EISDIR);
  const char* kind = S_ISFIFO(mode)                    ? "a FIFO"
                     : S_ISSOCK(mode)                  ? "a socket"
                     : S_ISCHR(mode) || S_ISBLK(mode)  ? "a device"
                     : S_ISLNK(mode)                   ? "a symbolic link"
                                                       : "something";
  return std::string("Is ") + kind + ", not a regular file";
}
