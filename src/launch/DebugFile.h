// The two file operations on the game's debug.txt. Only a regular file
// counts: a folder is no log to show, and a FIFO would block whoever opens it.
#pragma once

#include <QString>

namespace launch {

// True when path is a regular file that can be opened for reading. Anything
// else is never opened for reading, so a FIFO cannot block the editor.
bool isReadableFile(const QString& path);

// Truncates an existing regular file to zero length. Never creates a file
// and never waits; when the file cannot be opened for writing it stays
// exactly as it was, the answer is false and reason (when given) says why.
bool truncateExisting(const QString& path, QString* reason = nullptr);

}  // namespace launch
