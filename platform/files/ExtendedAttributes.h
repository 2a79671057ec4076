#pragma once
// Copying a file's extended attributes (and with them its access ACL, the
// "system.posix_acl_access" attribute) to the new file that takes its place.

#include <string>

// Makes the extended attributes of the file open as to those of the file at
// from: each of from's is set where to holds another value or none, and each
// that to holds beyond them is removed (such as an ACL it took from its
// folder's default ACL). A "security." attribute that only to holds is left
// alone: the system gives it to every new file, and it is the system's to
// set. 0, or the error number of the first attribute that could not be read,
// set or removed.
int CopyExtendedAttributes(const std::string& from, int to);
