// Every test process runs with its own, empty settings and data folders, so
// the real store and the real desktop files are exercised without touching
// the user's.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TestEnv {
public:
    // Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_STATE_HOME at fresh
    // temporary folders and reopens the application's settings store there.
    TestEnv();
    ~TestEnv();

    QString root() const { return m_dir.path(); }
    QString configHome() const;
    QString dataHome() const;
    QString stateHome() const;
    QString settingsFile() const;  // the settings file as the store names it
    QString settingsText() const;  // its content, empty when absent

    // Removes the settings file and reopens the store: a first run.
    void resetSettings();

private:
    QTemporaryDir m_dir;
};
