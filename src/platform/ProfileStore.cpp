#include "platform/ProfileStore.h"

#include "resources/strings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString key(const QString& section, const QString& entry) { return section + QLatin1Char('/') + entry; }

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
    // Read the environment each time rather than through QSettings' own
    // cache, so that the place follows XDG_CONFIG_HOME as it is now.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1String("/.config");
    return base + QLatin1Char('/') + str::kAppName + QLatin1Char('/') + str::kAppName + QLatin1String(".conf");
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
    m_settings->setValue(key(section, entry), value);
    return sync();
}

bool ProfileStore::writeString(const QString& section, const QString& entry, const QString& value)
{
    if (value.isNull())
        m_settings->remove(key(section, entry));
    else
        m_settings->setValue(key(section, entry), value);
    return sync();
}

void ProfileStore::beginBatch() { ++m_batchDepth; }

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
    // QSettings writes through a temporary file that replaces the old one only
    // when complete, so a failed write leaves the stored settings intact.
    const QString dir = QFileInfo(m_settings->fileName()).absolutePath();
#ifndef Q_OS_WIN
    QDir().mkpath(dir);
#endif
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
