#pragma once
// The words shown to the user for why a file could not be used.

#include <sys/types.h>

#include <string>

// errno, or EIO for a call that failed without saying why.
int ErrorNow();

// The system's own words for an error number ("Permission denied").
std::string FileErrorReason(int error);

// Why what a name holds is no file to read or replace: "Is a directory", or
// "Is a FIFO, not a regular file" and the like.
std::string NotRegularFileReason(mode_t mode);
