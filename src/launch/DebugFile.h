// The two file operations on the game's debug.txt.
#pragma once

#include <QString>

namespace launch {

// True when the file can be opened for reading (the stream is closed again).
bool isReadable(const QString& path);

// Truncates an existing file to zero length. Never creates a file; when the
// file cannot be opened for writing it stays exactly as it was, the answer
// is false and reason (when given) says why.
bool truncateExisting(const QString& path, QString* reason = nullptr);

}  // namespace launch
