#include "launch/DebugFile.h"

#include "platform/RegularFile.h"

#include <QFile>

namespace launch {

bool isReadableFile(const QString& path)
{
    QFile file;
    return regularfile::open(file, path, QIODevice::ReadOnly);
}

bool truncateExisting(const QString& path, QString* reason)
{
    // Opened without creating: a file removed since it was found is not brought back.
    QFile file;
    if (!regularfile::open(file, path, QIODevice::WriteOnly, reason))
        return false;
    if (file.resize(0))
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

}  // namespace launch
