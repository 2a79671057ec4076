#pragma once
// Following a name's chain of symbolic links to the file a save should
// replace.

#include <string>

// The name the bytes go to: path, or the file its chain of symbolic links
// ends at (which need not exist yet). Empty, with the error in error, when a
// link cannot be read or the chain does not end.
std::string ResolveLinks(std::string path, int& error);
