#include "platform/AtomicFile.h"

#include <QSaveFile>

namespace atomicfile {

bool write(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // Flushed before the commit: QSaveFile (Qt 6.4) commits a file whose last
    // buffered bytes failed to reach the disk, cut off, as if all was well.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

}  // namespace atomicfile
