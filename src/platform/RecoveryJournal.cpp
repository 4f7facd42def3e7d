#include "platform/RecoveryJournal.h"

#include "platform/AtomicFile.h"
#include "platform/XdgPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// A copy: four header lines, then the text as UTF-8 (which holds any
// character the user typed, also one the script's 8-bit encoding lacks).
constexpr char kMagic[] = "Vantrel recovery 1\n";
const QLatin1String kLockSuffix(".lock");
const QLatin1String kCopySuffix(".journal");

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// The lock file held open and locked; -1 when another process holds it.
int takeLock(const QString& file, bool create)
{
    const int fd = ::open(native(file).constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QString ownerOf(const QString& copyName) { return copyName.section(QLatin1Char('.'), 0, 0); }

}  // namespace

RecoveryJournal::RecoveryJournal(const QString& folder) : m_folder(folder)
{
    m_owner =
        QStringLiteral("%1-%2").arg(::getpid()).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

RecoveryJournal::~RecoveryJournal()
{
    if (m_thread.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    if (m_lock < 0)
        return;
    // Nothing left to recover: the lock file goes too (while still held, so
    // that nobody takes it for a dead editor's in between).
    const QStringList mine =
        QDir(m_folder).entryList({m_owner + QLatin1String(".*") + kCopySuffix}, QDir::Files | QDir::Hidden);
    if (mine.isEmpty())
        ::unlink(native(m_folder + QLatin1Char('/') + m_owner + kLockSuffix).constData());
    ::close(m_lock);
}

QString RecoveryJournal::standardFolder() { return xdg::stateHome() + QLatin1String("/Vantrel/recovery"); }

RecoveryJournal& RecoveryJournal::forThisProcess()
{
    static RecoveryJournal journal(standardFolder());
    return journal;
}

int RecoveryJournal::newEntry() { return m_nextEntry++; }

QString RecoveryJournal::entryFile(int entry) const
{
    return m_folder + QLatin1Char('/') + m_owner + QLatin1Char('.') + QString::number(entry) + kCopySuffix;
}

void RecoveryJournal::write(int entry, const QString& path, const FileIdentity& identity, const QString& text)
{
    enqueue({entry, false, path, QDateTime::currentDateTimeUtc(), identity, text});
}

void RecoveryJournal::discard(int entry) { enqueue({entry, true, {}, {}, {}, {}}); }

void RecoveryJournal::enqueue(Job job)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_frozen)
            return;
        // A copy still waiting is out of date already.
        std::erase_if(m_jobs, [&](const Job& j) { return j.entry == job.entry; });
        m_jobs.push_back(std::move(job));
        if (!m_thread.joinable())
            m_thread = std::thread(&RecoveryJournal::run, this);
    }
    m_wake.notify_one();
}

void RecoveryJournal::flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void RecoveryJournal::freeze()
{
    flush();
    const std::lock_guard lock(m_mutex);
    m_frozen = true;
}

void RecoveryJournal::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        perform(job);
        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

bool RecoveryJournal::ensureOwner()
{
    const QString lockFile = m_folder + QLatin1Char('/') + m_owner + kLockSuffix;
    if (m_lock >= 0) {
        if (QFileInfo::exists(lockFile))
            return true;
        // The folder was removed while the editor ran: it is made again,
        // with a lock of its own.
        ::close(m_lock);
        m_lock = -1;
    }
    // Private: the copies hold the user's unsaved work.
    if (!QDir().mkpath(m_folder) ||
        !QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    m_lock = takeLock(lockFile, true);
    return m_lock >= 0;
}

void RecoveryJournal::perform(Job& job)
{
    if (job.remove) {
        if (m_lock >= 0)
            ::unlink(native(entryFile(job.entry)).constData());
        return;
    }
    if (!ensureOwner()) {
        reportFailure(qt_error_string(errno));
        return;
    }
    const QByteArray header = QByteArray(kMagic) + QUrl::toPercentEncoding(job.path) + '\n' +
                              job.time.toString(Qt::ISODateWithMs).toLatin1() + '\n' +
                              job.identity.toString().toLatin1() + '\n';
    const QByteArray body = job.text.toUtf8();
    // The editor's text is shared until it changes: let go of it before the
    // next key press has to copy it.
    job.text = QString();
    atomicfile::Writer file(entryFile(job.entry));
    // A copy is for a crash or a kill, which the system's cache survives;
    // waiting for the disk would only make the copy later.
    file.setDurable(false);
    if (!(file.open() && file.write(header) && file.write(body) && file.commit()))
        reportFailure(file.errorString());
}

void RecoveryJournal::setFailureReporter(FailureReporter report)
{
    const std::lock_guard lock(m_mutex);
    m_onFailure = std::move(report);
}

void RecoveryJournal::reportFailure(const QString& reason)
{
    qWarning("Vantrel: unsaved text could not be kept for recovery in %s: %s", qPrintable(m_folder),
             qPrintable(reason));
    FailureReporter report;
    {
        const std::lock_guard lock(m_mutex);
        report = m_onFailure;
    }
    if (report && QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [report, folder = m_folder, reason] { report(folder, reason); },
            Qt::QueuedConnection);
    }
}

RecoveryJournal::Leftovers::Leftovers(const QString& folder) : m_folder(folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({QLatin1Char('*') + kCopySuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QString owner = ownerOf(name);
        if (!m_owners.contains(owner)) {
            // A lock that can be taken belonged to an editor that has ended;
            // a copy with no lock file at all has lost its owner too.
            const QString lockFile = dir.filePath(owner + kLockSuffix);
            const bool hasLock = QFile::exists(lockFile);
            const int fd = hasLock ? takeLock(lockFile, false) : -1;
            if (hasLock && fd < 0)
                continue;  // its editor still runs
            m_owners.append(owner);
            if (fd >= 0)
                m_claims.append(fd);
        }
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly) || f.readLine() != kMagic)
            continue;
        Copy copy;
        copy.file = f.fileName();
        copy.path = QUrl::fromPercentEncoding(f.readLine().chopped(1));
        copy.time = QDateTime::fromString(QString::fromLatin1(f.readLine().trimmed()), Qt::ISODateWithMs);
        copy.identity = FileIdentity::fromString(QString::fromLatin1(f.readLine().trimmed()));
        m_copies.append(copy);
    }
    std::sort(m_copies.begin(), m_copies.end(), [](const Copy& a, const Copy& b) { return a.time < b.time; });
}

RecoveryJournal::Leftovers::~Leftovers()
{
    const QDir dir(m_folder);
    for (const QString& owner : m_owners) {
        if (dir.entryList({owner + QLatin1String(".*") + kCopySuffix}, QDir::Files | QDir::Hidden).isEmpty())
            ::unlink(native(dir.filePath(owner + kLockSuffix)).constData());
    }
    for (int fd : m_claims)
        ::close(fd);
}

QString RecoveryJournal::Leftovers::text(const Copy& copy)
{
    QFile f(copy.file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    for (int line = 0; line < 4; ++line)
        f.readLine();
    return QString::fromUtf8(f.readAll());
}

void RecoveryJournal::Leftovers::discard(const Copy& copy) { ::unlink(native(copy.file).constData()); }
