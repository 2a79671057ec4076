#pragma once
// Giving a new file what the file it is to replace has besides its bytes:
// owner, group, extended attributes (ACLs among them) and permission bits.

#include <sys/stat.h>

#include <string>

// Gives the new file open as fd the owner, group, extended attributes and
// mode of old, the file at oldPath. 0 when the new file now has them all;
// else the error number of what it could not be given (EPERM for an owner or
// group the user may not give, as anyone but the superuser may give a file
// only themselves and a group they are a member of).
int GiveAttributesOf(const std::string& oldPath, const struct stat& old, int fd);
