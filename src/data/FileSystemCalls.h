#pragma once

#include <QString>

// The few file system calls Qt 6.4 does not offer, each behind one portable function. Each
// returns false with a readable reason.
namespace FileSystemCalls {

// Asks the system to put the open file's bytes on the disk (fsync, FlushFileBuffers).
bool syncFile(int handle, QString &reason);
// Makes renames and removals in the directory durable where the system allows it.
bool syncDirectory(const QString &directory, QString &reason);
// Renames `from` over `to`, replacing `to` in one step when it exists.
bool renameOver(const QString &from, const QString &to, QString &reason);
// A second name for an existing file (a hard link); false where the file system has none.
bool linkFile(const QString &existing, const QString &newName, QString &reason);

} // namespace FileSystemCalls
