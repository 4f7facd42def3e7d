// The per-user settings store: named sections of integer and string entries.
// Linux: $XDG_CONFIG_HOME/Vantrel/Vantrel.conf (default ~/.config);
// Windows: HKCU\Software\Vantrel\Vantrel.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

class ProfileStore {
public:
    // The store of the current user, at its standard place.
    ProfileStore();
    // A store in an explicit file (Linux format); used by tools and tests.
    explicit ProfileStore(const QString& filePath);
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // The application's store. Created on first use at the standard place.
    static ProfileStore& app();
    // Opens the application's store again at the standard place, as it is now
    // (tests point XDG_CONFIG_HOME at a temporary folder first).
    static void reopenApp();

    static QString standardFilePath();

    // Qt's own dialogs keep state of their own (the colour dialog's custom
    // colours) in a second settings file beside ours. After this call nothing
    // but the application's store is written in the user's settings folder.
    static void keepQtSettingsOut();

    // A missing or unreadable entry yields the caller's default.
    int getInt(const QString& section, const QString& entry, int defaultValue) const;
    QString getString(const QString& section, const QString& entry, const QString& defaultValue = QString()) const;

    // Writes reach the disk at once. They return false when the store could not
    // be written; what was stored before is then left as it was.
    bool writeInt(const QString& section, const QString& entry, int value);
    // A null string deletes the entry.
    bool writeString(const QString& section, const QString& entry, const QString& value);

    // Writes several entries as one change: nothing reaches the disk until commit.
    void beginBatch();
    bool commitBatch();

    QString filePath() const;

private:
    bool sync();
    std::unique_ptr<QSettings> m_settings;
    int m_batchDepth = 0;
};
