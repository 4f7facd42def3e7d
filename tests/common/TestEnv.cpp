#include "common/TestEnv.h"

#include "platform/ProfileStore.h"

#include <QDir>
#include <QFile>

TestEnv::TestEnv()
{
    QDir().mkpath(configHome());
    QDir().mkpath(dataHome());
    QDir().mkpath(stateHome());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    qputenv("XDG_STATE_HOME", stateHome().toLocal8Bit());
    ProfileStore::reopenApp();
}

TestEnv::~TestEnv() = default;

QString TestEnv::configHome() const { return m_dir.path() + QStringLiteral("/config"); }
QString TestEnv::dataHome() const { return m_dir.path() + QStringLiteral("/data"); }
QString TestEnv::stateHome() const { return m_dir.path() + QStringLiteral("/state"); }
QString TestEnv::settingsFile() const { return ProfileStore::standardFilePath(); }

QString TestEnv::settingsText() const
{
    QFile f(settingsFile());
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

void TestEnv::resetSettings()
{
    QFile::remove(settingsFile());
    ProfileStore::reopenApp();
}
