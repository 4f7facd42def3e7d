// Opening a file that must be a regular file: a FIFO, a device or a folder in
// its place is refused without waiting on it (opening a FIFO for reading
// would block until some writer came) and never created.
#pragma once

#include <QIODevice>
#include <QString>

class QFile;

namespace regularfile {

// Opens path in mode (reading or writing, never creating) into file, which
// then owns the descriptor. False when path is missing, is no regular file
// ("not a regular file") or cannot be opened; reason then says why.
bool open(QFile& file, const QString& path, QIODevice::OpenMode mode, QString* reason = nullptr);

}  // namespace regularfile
