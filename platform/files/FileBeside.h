#pragma once
// A new file in the folder of another, for content that is to take that
// file's place or to keep a copy of it: beside it, a rename stays on one file
// system.

#include <cstdint>
#include <span>
#include <string>

// The folder part of path, with its final '/'; empty for a bare name.
std::string FolderOf(const std::string& path);

// Opens a new file of a fresh, short name in target's folder for writing;
// its name goes to path. -1 with errno set when none can be made.
int CreateFileBeside(const std::string& target, std::string& path);

// Writes every byte to fd; false with errno set when a write fails.
bool WriteAllTo(int fd, std::span<const std::uint8_t> bytes);
