#include "platform/FileIdentity.h"

#include <QFile>
#include <QStringList>

#include <sys/stat.h>

FileIdentity FileIdentity::of(const QString& path)
{
    FileIdentity id;
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return id;
    id.m_exists = true;
    id.m_device = std::uint64_t(st.st_dev);
    id.m_inode = std::uint64_t(st.st_ino);
    id.m_size = std::int64_t(st.st_size);
    id.m_modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return id;
}

QString FileIdentity::toString() const
{
    if (!m_exists)
        return QString();
    return QStringLiteral("%1 %2 %3 %4").arg(m_device).arg(m_inode).arg(m_size).arg(m_modifiedNs);
}

FileIdentity FileIdentity::fromString(QStringView text)
{
    FileIdentity id;
    const QList<QStringView> parts = text.split(QLatin1Char(' '));
    if (parts.size() != 4)
        return id;
    bool ok[4] = {};
    id.m_device = parts[0].toULongLong(&ok[0]);
    id.m_inode = parts[1].toULongLong(&ok[1]);
    id.m_size = parts[2].toLongLong(&ok[2]);
    id.m_modifiedNs = parts[3].toLongLong(&ok[3]);
    id.m_exists = ok[0] && ok[1] && ok[2] && ok[3];
    return id.m_exists ? id : FileIdentity();
}
