#pragma once
// Following a name's chain of symbolic links to the file a save should
// replace.

#include <string>

// The name the bytes go to: path, or the file its chain of symbolic links
// ends at (which need not exist yet). Empty, with the error in error, when a
// link cannot be read, the chain does not end, or a link lies in a sticky
// folder anyone may write to and belongs neither to this user nor to the
// folder's owner (EACCES: the system's own rule for such folders).
std::string ResolveLinks(std::string path, int& error);
