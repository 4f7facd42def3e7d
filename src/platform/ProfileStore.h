// The per-user settings store: named sections of integer and string entries.
// Linux: $XDG_CONFIG_HOME/Vantrel/Vantrel.conf (default ~/.config);
// Windows: HKCU\Software\Vantrel\Vantrel.
//
// Several editors may run at once on one file. Reads see the file as it is
// now (it is read again whenever it changed on disk), and a write changes only
// the entries it names, merged into the file as it is at that moment.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

#include <sys/types.h>

class QSettings;

class ProfileStore {
public:
    // A write that did not reach the file. The change stays in effect in this
    // store for the rest of the run and goes along with the next write.
    struct Failure {
        QStringList sections;  // the sections of the entries that were not stored
        QString filePath;
        QString reason;  // the system's own words
    };
    using Reporter = std::function<void(const Failure&)>;

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

    // Whoever shows messages hears of every failed write through this.
    void setFailureReporter(Reporter reporter) { m_reporter = std::move(reporter); }

    // A missing or unreadable entry yields the caller's default.
    int getInt(const QString& section, const QString& entry, int defaultValue) const;
    QString getString(const QString& section, const QString& entry, const QString& defaultValue = QString()) const;
    bool contains(const QString& section, const QString& entry) const;

    // Writes reach the disk at once. They return false when the store could not
    // be written; what was stored before is then left as it was.
    bool writeInt(const QString& section, const QString& entry, int value);
    // A null string deletes the entry.
    bool writeString(const QString& section, const QString& entry, const QString& value);

    // Writes several entries as one change: nothing reaches the disk until commit.
    void beginBatch();
    bool commitBatch();

    enum class Commit { Stored, Failed, Refused };
    // Commits the batch only if stillValid, asked under the file's lock with
    // the file as it is then, agrees; otherwise nothing is written (Refused).
    Commit commitBatchIf(const std::function<bool(const ProfileStore&)>& stillValid);

    // Changes whenever what the store reads changes: the file on disk, or a
    // write of this store.
    quint64 revision() const;

    QString filePath() const { return m_path; }

    using Entries = QMap<QString, QVariant>;  // "section/entry" to value; an invalid value deletes

private:
    struct Stamp {
        bool exists = false;
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = 0;
        qint64 mtimeNs = 0;
        qint64 ctimeNs = 0;
        int error = 0;  // why there is no file
        bool operator==(const Stamp&) const = default;
    };

    Stamp currentStamp() const;
    QVariant value(const QString& key) const;
    // Reads the file again when it changed on disk. False when it changed but
    // could not be read in (no room for a working copy).
    bool refresh() const;
    Commit flush(Entries changes, const std::function<bool(const ProfileStore&)>& stillValid);

    QString m_path;
#ifdef Q_OS_WIN
    std::unique_ptr<QSettings> m_registry;
#endif
    // The file as last read or written, and its identity then.
    mutable Entries m_disk;
    mutable Stamp m_stamp;
    // Why the file could not be read, when it could not: writing over it
    // would lose what it holds.
    mutable int m_readError = 0;
    mutable quint64 m_revision = 0;
    Entries m_batch;
    // Writes of this run that did not reach the file.
    Entries m_unsaved;
    int m_batchDepth = 0;
    Reporter m_reporter;
};
