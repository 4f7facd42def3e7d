#include "platform/ProfileStore.h"

#include "platform/XdgPaths.h"
#include "resources/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString key(const QString& section, const QString& entry) { return section + QLatin1Char('/') + entry; }

QString reasonText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QStringList sectionsOf(const ProfileStore::Entries& entries)
{
    QStringList sections;
    for (auto it = entries.keyBegin(); it != entries.keyEnd(); ++it) {
        const QString section = it->section(QLatin1Char('/'), 0, 0);
        if (!sections.contains(section))
            sections.append(section);
    }
    return sections;
}

void apply(ProfileStore::Entries& entries, const ProfileStore::Entries& changes)
{
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.value().isValid())
            entries.insert(it.key(), it.value());
        else
            entries.remove(it.key());
    }
}

std::unique_ptr<ProfileStore>& appInstance()
{
    static std::unique_ptr<ProfileStore> instance;
    return instance;
}

#ifndef Q_OS_WIN

// The errno of the first failed call, 0 when all went well.
int writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

int readAll(int fd, QByteArray& bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        bytes.append(buffer, n);
    }
}

int makeFolders(const QByteArray& dir)
{
    struct stat st {};
    if (::stat(dir.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const qsizetype slash = dir.lastIndexOf('/');
    if (slash > 0) {
        if (const int error = makeFolders(dir.left(slash)))
            return error;
    }
    return ::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}

// Qt's own reader and writer of the text format work on files only. They work
// here on scratch files, each under a name never used before: Qt keeps what
// it read of a file under its name and would answer from memory.
QString scratchName()
{
    static QTemporaryDir dir(QDir::tempPath() + QLatin1String("/vantrel-settings-XXXXXX"));
    static std::atomic<int> count{0};
    return dir.isValid() ? dir.filePath(QString::number(++count) + QLatin1String(".conf")) : QString();
}

std::optional<ProfileStore::Entries> parse(const QByteArray& bytes)
{
    const QString name = scratchName();
    if (name.isEmpty())
        return std::nullopt;
    const QByteArray file = QFile::encodeName(name);
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt;
    const bool written = writeAll(fd, bytes) == 0;
    ::close(fd);
    std::optional<ProfileStore::Entries> entries;
    if (written) {
        entries.emplace();
        const QSettings settings(name, QSettings::IniFormat);
        for (const QString& k : settings.allKeys())
            entries->insert(k, settings.value(k));
    }
    ::unlink(file.constData());
    return entries;
}

// What a value reads as, whatever type the text format gave it.
QString flat(const QVariant& v)
{
    if (v.typeId() == QMetaType::QStringList)
        return QLatin1String("list:") + v.toStringList().join(QChar(0x1F));
    return v.toString();
}

bool sameEntries(const ProfileStore::Entries& a, const ProfileStore::Entries& b)
{
    if (a.size() != b.size())
        return false;
    for (auto i = a.cbegin(), j = b.cbegin(); i != a.cend(); ++i, ++j) {
        if (i.key() != j.key() || flat(i.value()) != flat(j.value()))
            return false;
    }
    return true;
}

// The file's text for entries, and those entries as that text reads back.
// Qt 6.4 takes a write that stops short for a whole one, so the text is only
// trusted once it reads back to the same entries.
std::optional<std::pair<QByteArray, ProfileStore::Entries>> encode(const ProfileStore::Entries& entries)
{
    const QString name = scratchName();
    if (name.isEmpty())
        return std::nullopt;
    bool ok = false;
    {
        QSettings settings(name, QSettings::IniFormat);
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            settings.setValue(it.key(), it.value());
        settings.sync();
        ok = settings.status() == QSettings::NoError;
    }
    QByteArray bytes;
    const QByteArray file = QFile::encodeName(name);
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    ok = ok && fd >= 0 && readAll(fd, bytes) == 0;
    if (fd >= 0)
        ::close(fd);
    ::unlink(file.constData());
    if (!ok)
        return std::nullopt;
    auto back = parse(bytes);
    if (!back || !sameEntries(*back, entries))
        return std::nullopt;
    return std::pair{bytes, *back};
}

// Finds out why a file of size bytes cannot be written in dir: writes one
// there, as the real write would, and removes it.
int probeWrite(const QByteArray& dir, qsizetype size)
{
    QByteArray probe = dir + "/.Vantrel-probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return errno;
    int error = writeAll(fd, QByteArray(size, ' '));
    if (::close(fd) != 0 && error == 0)
        error = errno;
    ::unlink(probe.constData());
    return error;
}

// Puts bytes in place of the file at path in one step: written beside it,
// then renamed over it, so that a failure at any point leaves the old file
// whole. Answers the errno of the failure, or 0.
int replaceFile(const QByteArray& path, const QByteArray& bytes)
{
    struct stat old {};
    const bool existed = ::stat(path.constData(), &old) == 0;
    // A settings file made read-only is respected, as by the settings code of
    // other programs; the rename below would otherwise go around it.
    if (existed && S_ISREG(old.st_mode) && ::access(path.constData(), W_OK) != 0)
        return errno;
    QByteArray temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return errno;
    int error = writeAll(fd, bytes);
    if (error == 0 && existed && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.constData(), path.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temp.constData());
    return error;
}

#endif

}  // namespace

ProfileStore::ProfileStore()
#ifdef Q_OS_WIN
    : m_registry(std::make_unique<QSettings>(QString(str::kAppName), QString(str::kAppName)))
#else
    : m_path(standardFilePath())
#endif
{
}

ProfileStore::ProfileStore(const QString& filePath) : m_path(QFileInfo(filePath).absoluteFilePath()) {}

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

ProfileStore::Stamp ProfileStore::currentStamp() const
{
    Stamp now;
#ifndef Q_OS_WIN
    struct stat st {};
    if (::stat(QFile::encodeName(m_path).constData(), &st) != 0) {
        now.error = errno;
        return now;
    }
    now = Stamp{true,
                st.st_dev,
                st.st_ino,
                st.st_size,
                qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
#endif
    return now;
}

bool ProfileStore::refresh() const
{
#ifndef Q_OS_WIN
    // One stat per read: a write of any editor renames a new file into place,
    // so the identity below changes with every write.
    const QByteArray path = QFile::encodeName(m_path);
    const Stamp now = currentStamp();
    if (now == m_stamp && (now.exists || m_revision > 0))
        return true;
    if (!now.exists) {
        m_disk.clear();
        m_readError = now.error == ENOENT ? 0 : now.error;
    } else {
        QByteArray bytes;
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        const int error = fd < 0 ? errno : readAll(fd, bytes);
        if (fd >= 0)
            ::close(fd);
        if (error != 0) {
            // A folder in the file's place, or a file that cannot be read:
            // nothing to read, and nothing that may be written over.
            m_disk.clear();
            m_readError = error;
        } else if (auto entries = parse(bytes)) {
            m_disk = std::move(*entries);
            m_readError = 0;
        } else {
            return false;  // no room to read it in: try again at the next read
        }
    }
    m_stamp = now;
    ++m_revision;
#endif
    return true;
}

quint64 ProfileStore::revision() const
{
    refresh();
    return m_revision;
}

QVariant ProfileStore::value(const QString& k) const
{
    const auto pending = m_batch.constFind(k);
    if (pending != m_batch.cend())
        return pending.value();
    const auto unsaved = m_unsaved.constFind(k);
    if (unsaved != m_unsaved.cend())
        return unsaved.value();
#ifdef Q_OS_WIN
    return m_registry->value(k);
#else
    refresh();
    return m_disk.value(k);
#endif
}

bool ProfileStore::contains(const QString& section, const QString& entry) const
{
    return value(key(section, entry)).isValid();
}

int ProfileStore::getInt(const QString& section, const QString& entry, int defaultValue) const
{
    const QVariant v = value(key(section, entry));
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
    const QVariant v = value(key(section, entry));
    if (!v.isValid())
        return defaultValue;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1String(", "));
    return v.toString();
}

bool ProfileStore::writeInt(const QString& section, const QString& entry, int value)
{
    beginBatch();
    m_batch.insert(key(section, entry), value);
    return commitBatch();
}

bool ProfileStore::writeString(const QString& section, const QString& entry, const QString& value)
{
    beginBatch();
    m_batch.insert(key(section, entry), value.isNull() ? QVariant() : QVariant(value));
    return commitBatch();
}

void ProfileStore::beginBatch() { ++m_batchDepth; }

bool ProfileStore::commitBatch() { return commitBatchIf({}) != Commit::Failed; }

ProfileStore::Commit ProfileStore::commitBatchIf(const std::function<bool(const ProfileStore&)>& stillValid)
{
    if (m_batchDepth > 0)
        --m_batchDepth;
    if (m_batchDepth > 0)
        return Commit::Stored;
    Entries changes;
    changes.swap(m_batch);
    if (changes.isEmpty() && !stillValid)
        return Commit::Stored;
    return flush(std::move(changes), stillValid);
}

ProfileStore::Commit ProfileStore::flush(Entries changes, const std::function<bool(const ProfileStore&)>& stillValid)
{
    Failure failure{sectionsOf(changes), m_path, QString()};
#ifdef Q_OS_WIN
    if (stillValid && !stillValid(*this))
        return Commit::Refused;
    apply(m_unsaved, changes);
    for (auto it = m_unsaved.cbegin(); it != m_unsaved.cend(); ++it) {
        if (it.value().isValid())
            m_registry->setValue(it.key(), it.value());
        else
            m_registry->remove(it.key());
    }
    m_registry->sync();
    if (m_registry->status() == QSettings::NoError) {
        m_unsaved.clear();
        ++m_revision;
        return Commit::Stored;
    }
    failure.reason = QStringLiteral("Access denied");
#else
    int error = 0;
    {
        // A settings file that is a link (kept with the user's other dotfiles)
        // stays one: the file it names is replaced.
        const QFileInfo info(m_path);
        const QString target =
            info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : m_path;
        const QByteArray path = QFile::encodeName(target);
        const QByteArray dir = path.left(path.lastIndexOf('/'));
        error = makeFolders(dir);
        // Other editors write under the same lock; without it (a folder that
        // takes no files) the write below fails and tells why.
        QLockFile lock(m_path + QLatin1String(".lock"));
        if (error == 0)
            lock.tryLock(5000);
        // Without the file as it is now, a write could only undo what others stored.
        bool upToDate = false;
        if (error == 0) {
            upToDate = refresh();
            if (upToDate && stillValid && !stillValid(*this))
                return Commit::Refused;
            error = m_readError;
        }
        if (error == 0 && upToDate) {
            Entries merged = m_disk;
            apply(merged, m_unsaved);
            apply(merged, changes);
            if (auto encoded = encode(merged)) {
                error = replaceFile(path, encoded->first);
                if (error == 0) {
                    m_disk = std::move(encoded->second);
                    m_unsaved.clear();
                    m_stamp = currentStamp();
                    m_readError = 0;
                    ++m_revision;
                    return Commit::Stored;
                }
            } else {
                // The text could not be made: the disk is full, or files may
                // not grow. Find out which, where the settings live.
                qsizetype size = 0;
                for (auto it = merged.cbegin(); it != merged.cend(); ++it)
                    size += it.key().size() + flat(it.value()).toUtf8().size() + 2;
                error = probeWrite(dir, size);
            }
        }
    }
    failure.reason = error != 0 ? reasonText(error) : QString(str::kSettingsNoScratchRoom).arg(QDir::tempPath());
#endif
    // What the user did stays in effect for this run: reads see it, and the
    // next write takes it along.
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        m_unsaved.insert(it.key(), it.value());
    ++m_revision;
    if (m_reporter)
        m_reporter(failure);
    return Commit::Failed;
}
