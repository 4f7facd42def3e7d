// Copies of unsaved text kept on disk, so that a crash, a kill or a logout
// loses at most the last few seconds of work.
//
// Each running editor owns the copies it writes through a lock file that it
// holds open and locked (flock) while it runs: the kernel lets go of the lock
// however the process ends, so "its writer no longer runs" is simply "its
// lock can be taken". A copy is written whole or not at all, with the
// script's path, the time and the identity of the file as the editor last
// read or wrote it. Copies are written on a thread of their own, so that
// typing in a big script never waits for one.
#pragma once

#include "platform/FileIdentity.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class RecoveryJournal {
public:
    // The copies of this process, in folder (made when the first is written).
    explicit RecoveryJournal(const QString& folder);
    // Finishes what was asked and lets go of the lock; copies not discarded
    // stay for the next start.
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    // $XDG_STATE_HOME/Vantrel/recovery
    static QString standardFolder();
    // The journal of this process in the standard folder, made on first use:
    // jobs without a window never touch it.
    static RecoveryJournal& forThisProcess();

    // A new place for one script's copy.
    int newEntry();
    // Replaces the entry's copy soon; of several writes of one entry still
    // waiting, only the last is made. The text is let go of once encoded.
    void write(int entry, const QString& path, const FileIdentity& identity, const QString& text);
    // Removes the entry's copy: its script was saved, closed or discarded.
    void discard(int entry);
    // Returns once every write and removal asked for is done.
    void flush();
    // Called on the main thread, through its event loop, for each copy that
    // could not be written: the folder of the copies and the system's reason.
    using FailureReporter = std::function<void(const QString& folder, const QString& reason)>;
    void setFailureReporter(FailureReporter report);

    // Finishes what was asked, then nothing more is written or removed: the
    // program is ending on a signal, and the copies just written must
    // survive whatever the windows do as they go.
    void freeze();
    bool isFrozen() const { return m_frozen; }

    // One copy left by an editor that no longer runs.
    struct Copy {
        QString file;  // the copy itself
        QString path;  // the script's path; empty for an untitled script
        QDateTime time;
        FileIdentity identity;  // the script's file as its editor last read or wrote it
    };

    // The copies left by editors that no longer run, oldest first. While it
    // lives they are claimed: another editor starting now does not offer them.
    class Leftovers {
    public:
        explicit Leftovers(const QString& folder);
        ~Leftovers();
        Leftovers(const Leftovers&) = delete;
        Leftovers& operator=(const Leftovers&) = delete;

        const QList<Copy>& copies() const { return m_copies; }
        // The copy's text; a null string when it cannot be read.
        static QString text(const Copy& copy);
        void discard(const Copy& copy);

    private:
        QString m_folder;
        QList<int> m_claims;  // lock files held
        QStringList m_owners;
        QList<Copy> m_copies;
    };

private:
    struct Job {
        int entry;
        bool remove;
        QString path;
        QDateTime time;
        FileIdentity identity;
        QString text;
    };
    void enqueue(Job job);
    void run();
    void perform(Job& job);
    bool ensureOwner();
    void reportFailure(const QString& reason);
    QString entryFile(int entry) const;

    QString m_folder;
    QString m_owner;  // "PID-RANDOM": the names of this process's files begin with it
    int m_lock = -1;  // used by the writing thread only, until it has ended
    int m_nextEntry = 1;
    bool m_frozen = false;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    FailureReporter m_onFailure;
    std::thread m_thread;
};
