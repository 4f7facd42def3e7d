#include "platform/ProfileStore.h"

#include "platform/XdgPaths.h"
#include "resources/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <unistd.h>
#include <cstdio>
#endif

namespace {

QString key(const QString& section, const QString& entry) { return section + QLatin1Char('/') + entry; }

// QSettings keeps the first error it meets for the rest of its life, so after
// one failed write (or after reading a damaged file) it would report every
// later write as failed, also those that reach the disk. Opening the file
// again starts afresh; Qt keeps what did not reach the file pending and
// tries it again.
void reopen(std::unique_ptr<QSettings>& settings)
{
    const QString name = settings->fileName();
    const QSettings::Format format = settings->format();
    settings.reset();
    settings = std::make_unique<QSettings>(name, format);
}

#ifndef Q_OS_WIN
// Qt 6.4 misses a write that stops short (a full disk, a file size limit):
// QSettings takes the partial count for success, and QSaveFile still puts the
// cut-off file in place of the old one. So the old file stays under a second
// name (a hard link: nothing is copied) until the new one has been read back.
class PreviousFile {
public:
    explicit PreviousFile(const QString& file)
        : m_file(QFile::encodeName(file)), m_keep(m_file + ".previous"), m_existed(QFileInfo::exists(file))
    {
        ::unlink(m_keep.constData());
        m_kept = m_existed && ::link(m_file.constData(), m_keep.constData()) == 0;
    }
    ~PreviousFile()
    {
        if (m_kept)
            ::unlink(m_keep.constData());
    }
    PreviousFile(const PreviousFile&) = delete;
    PreviousFile& operator=(const PreviousFile&) = delete;

    // Puts the old file back; where there was none, removes the broken one.
    void restore()
    {
        if (m_kept)
            m_kept = std::rename(m_keep.constData(), m_file.constData()) != 0;
        else if (!m_existed)
            ::unlink(m_file.constData());
    }

private:
    QByteArray m_file;
    QByteArray m_keep;
    bool m_existed = false;
    bool m_kept = false;
};

// Whether the file on disk holds every entry of settings with its value.
// Read through a second name: QSettings shares what it read of a file among
// all its objects on that name, and would answer from memory.
bool readsBack(const QSettings& settings)
{
    static int checks = 0;
    const QByteArray file = QFile::encodeName(settings.fileName());
    const QByteArray check = file + ".check" + QByteArray::number(++checks);
    ::unlink(check.constData());
    if (::link(file.constData(), check.constData()) != 0)
        return true;  // no file (nothing stored yet) or no hard links here: nothing to compare
    bool same = false;
    {
        const QSettings disk(QFile::decodeName(check), QSettings::IniFormat);
        QStringList keys = settings.allKeys();
        QStringList diskKeys = disk.allKeys();
        keys.sort();
        diskKeys.sort();
        same = disk.status() == QSettings::NoError && keys == diskKeys;
        for (qsizetype i = 0; same && i < keys.size(); ++i)
            same = disk.value(keys[i]).toString() == settings.value(keys[i]).toString();
    }
    ::unlink(check.constData());
    return same;
}
#endif

std::unique_ptr<ProfileStore>& appInstance()
{
    static std::unique_ptr<ProfileStore> instance;
    return instance;
}

}  // namespace

ProfileStore::ProfileStore()
#ifdef Q_OS_WIN
    : m_settings(std::make_unique<QSettings>(QString(str::kAppName), QString(str::kAppName)))
#else
    : m_settings(std::make_unique<QSettings>(standardFilePath(), QSettings::IniFormat))
#endif
{
}

ProfileStore::ProfileStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

ProfileStore::~ProfileStore() = default;

ProfileStore& ProfileStore::app()
{
    auto& instance = appInstance();
    if (!instance)
        instance = std::make_unique<ProfileStore>();
    return *instance;
}

void ProfileStore::reopenApp() { appInstance() = std::make_unique<ProfileStore>(); }

QString ProfileStore::standardFilePath()
{
    return xdg::configHome() + QLatin1Char('/') + str::kAppName + QLatin1Char('/') + str::kAppName +
           QLatin1String(".conf");
}

void ProfileStore::keepQtSettingsOut()
{
#ifndef Q_OS_WIN
    // A folder that can never be made: Qt's own settings are neither read nor
    // kept. The application's store names its file directly and is not affected.
    for (QSettings::Format f : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(f, QSettings::UserScope, QStringLiteral("/dev/null/qt"));
#endif
}

QString ProfileStore::filePath() const { return m_settings->fileName(); }

int ProfileStore::getInt(const QString& section, const QString& entry, int defaultValue) const
{
    const QVariant v = m_settings->value(key(section, entry));
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok, 0);
    if (!ok)
        return defaultValue;
    // Stored as 32-bit values; a larger number keeps its low 32 bits.
    return static_cast<int>(static_cast<quint32>(static_cast<quint64>(n)));
}

QString ProfileStore::getString(const QString& section, const QString& entry, const QString& defaultValue) const
{
    const QVariant v = m_settings->value(key(section, entry));
    if (!v.isValid())
        return defaultValue;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1String(", "));
    return v.toString();
}

bool ProfileStore::writeInt(const QString& section, const QString& entry, int value)
{
    if (m_batchDepth == 0 && m_settings->status() != QSettings::NoError)
        reopen(m_settings);
    m_settings->setValue(key(section, entry), value);
    return sync();
}

bool ProfileStore::writeString(const QString& section, const QString& entry, const QString& value)
{
    if (m_batchDepth == 0 && m_settings->status() != QSettings::NoError)
        reopen(m_settings);
    if (value.isNull())
        m_settings->remove(key(section, entry));
    else
        m_settings->setValue(key(section, entry), value);
    return sync();
}

void ProfileStore::beginBatch()
{
    if (m_batchDepth++ == 0 && m_settings->status() != QSettings::NoError)
        reopen(m_settings);
}

bool ProfileStore::commitBatch()
{
    if (m_batchDepth > 0)
        --m_batchDepth;
    return sync();
}

bool ProfileStore::sync()
{
    if (m_batchDepth > 0)
        return true;
    // QSettings writes through a temporary file that replaces the old one, so
    // a write that fails outright leaves the stored settings intact; one that
    // stops short is caught by reading the file back.
    const QString dir = QFileInfo(m_settings->fileName()).absolutePath();
#ifndef Q_OS_WIN
    QDir().mkpath(dir);
    PreviousFile previous(m_settings->fileName());
#endif
    m_settings->sync();
    // A damaged file reports a format error on every sync, also after this
    // write replaced it with a clean one. Opening it again tells: a clean file
    // reads without error, and a write that failed is still pending and
    // fails again.
    if (m_settings->status() == QSettings::FormatError)
        reopen(m_settings);
    bool ok = m_settings->status() == QSettings::NoError;
#ifndef Q_OS_WIN
    if (ok && !readsBack(*m_settings)) {
        previous.restore();
        ok = false;
    }
#endif
    return ok;
}
