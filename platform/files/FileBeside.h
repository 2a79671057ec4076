#pragma once
// New files in the folder of another, for content that is to take that
// file's place or to keep a copy of it: beside it, a rename stays on one file
// system. And the flush of that folder, without which a crash can undo what
// was named there.

#include <sys/types.h>

#include <string>

// A new file that is to hold an existing file's content is owner-only until
// it has that file's owner, group and mode: no one else reads the bytes on
// their way in.
constexpr mode_t kOwnerOnly = 0600;

// The folder part of path, with its final '/'; empty for a bare name.
std::string FolderOf(const std::string& path);

// Opens a new file of a fresh, short name (".saving-PID-N") in target's
// folder for writing, created with mode (less the umask, or as the folder's
// default ACL has it); its name goes to path. -1 with errno set when none
// can be made.
int CreateFileBeside(const std::string& target, std::string& path, mode_t mode);

// Opens a new owner-only file in target's folder for its old content, named
// after it (".NAME.backup-PID", and a count after that should the name be
// taken; NAME cut short where the whole would be too long a name), so that a
// backup left behind says whose it is; its name goes to path. -1 with errno set when none can be made.
int CreateBackupBeside(const std::string& target, std::string& path);

// Whether an error in making a file beside another says that its folder
// takes no new name (it is closed to the user, sticky, or read-only), as
// opposed to a failure such as a full disk.
bool FolderTakesNoNewName(int error);

// Flushes the folder of path to the disk, so that a name made, renamed or
// removed there survives a crash. 0, or the error number; a folder the user
// may not open for reading, or on a file system that flushes no folders,
// counts as flushed, since nothing more can be done for it.
int FlushFolderOf(const std::string& path);
