// Writes a whole file or nothing: the bytes go to a temporary file beside the
// target, which replaces the target only when every byte reached it.
#pragma once

#include <QByteArray>
#include <QString>

namespace atomicfile {

// False, with the reason in error, when the file could not be written; the
// old file, if any, is then left exactly as it was.
bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace atomicfile
