#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace atomicfile {
namespace {

QByteArray nativeName(const QString& path) { return QFile::encodeName(path); }

// The regular file that a path names, with its links followed; the path
// itself when it is no link.
QString followLinks(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool writeAll(int fd, QByteArrayView bytes, off_t at = -1)
{
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = at < 0 ? ::write(fd, p, std::size_t(left)) : ::pwrite(fd, p, std::size_t(left), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
        if (at >= 0)
            at += n;
    }
    return true;
}

// Flushes to the disk where the file system can; one that cannot is no failure.
bool sync(int fd) { return ::fdatasync(fd) == 0 || errno == EINVAL || errno == EROFS; }

// The new name lives in the folder's entries: without this a power loss soon
// after the save can bring back the old file, or none.
void syncFolder(const QString& folder)
{
    const int fd = ::open(nativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Our temporary files: ".NAME.vantrel-PID-RANDOM.tmp", so that one left by an
// editor that was killed while saving shows whose it is, and the next save
// into the folder can tell that its writer is gone.
const QLatin1String kTemporaryMark(".vantrel-");
const QLatin1String kTemporaryEnd(".tmp");

bool processRuns(qint64 pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

void removeAbandonedTemporaries(const QString& folder)
{
    static const QRegularExpression ours(QStringLiteral("^\\..+\\.vantrel-(\\d+)-[0-9a-f]{8}\\.tmp$"));
    const QStringList names =
        QDir(folder).entryList({QLatin1String(".*") + kTemporaryEnd}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = ours.match(name);
        if (m.hasMatch() && m.capturedView(1).toLongLong() != ::getpid() &&
            !processRuns(m.capturedView(1).toLongLong()))
            ::unlink(nativeName(folder + QLatin1Char('/') + name).constData());
    }
}

}  // namespace

Writer::Writer(const QString& path) : m_path(path), m_target(path) {}

Writer::~Writer() { release(); }

void Writer::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(nativeName(m_temporary).constData());
    m_temporary.clear();
}

bool Writer::fail(int error)
{
    m_error = qt_error_string(error);
    release();
    return false;
}

bool Writer::open()
{
    const QByteArray name = nativeName(m_path);
    struct stat st {};
    const bool exists = ::stat(name.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        m_mode = Mode::Direct;
        m_fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
        return m_fd >= 0 || fail(errno);
    }
    // A file its owner made read-only is not replaced behind their back.
    if (exists && ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)
        return fail(errno);
    m_target = followLinks(m_path);
    // A new file would be a new inode: it would split a file with several
    // names from its other names, and belong to whoever saved it. Those are
    // written in place, so that links, owner and permissions stay.
    const bool keepInode = exists && (st.st_nlink > 1 || st.st_uid != ::geteuid());
    int error = 0;
    if (!keepInode) {
        if (openTemporary(exists ? int(st.st_mode & 07777) : -1))
            return true;
        error = errno;
    }
    if (exists) {
        m_fd = ::open(nativeName(m_target).constData(), O_WRONLY | O_CLOEXEC);
        if (m_fd >= 0) {
            m_mode = Mode::InPlace;
            return true;
        }
        if (keepInode)
            error = errno;
    }
    return fail(error);
}

bool Writer::openTemporary(int permissions)
{
    const QFileInfo target(m_target);
    removeAbandonedTemporaries(target.path());
    for (int attempt = 0; attempt < 64; ++attempt) {
        const QString name =
            QLatin1Char('.') + target.fileName() + kTemporaryMark + QString::number(::getpid()) +
            QStringLiteral("-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')) + kTemporaryEnd;
        const QString path = target.path() + QLatin1Char('/') + name;
        m_fd = ::open(nativeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temporary = path;
            if (permissions >= 0)
                ::fchmod(m_fd, mode_t(permissions));
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool Writer::write(QByteArrayView bytes)
{
    if (m_fd < 0)
        return false;
    if (m_mode == Mode::InPlace) {
        m_pending.append(bytes);
        return true;
    }
    return writeAll(m_fd, bytes) || fail(errno);
}

bool Writer::commitInPlace()
{
    const auto size = off_t(m_pending.size());
    // The space first: on a full disk the old content has not changed yet.
    if (size > 0) {
        if (const int error = ::posix_fallocate(m_fd, 0, size); error != 0)
            return fail(error);
    }
    if (!writeAll(m_fd, m_pending, 0) || ::ftruncate(m_fd, size) != 0 || !sync(m_fd))
        return fail(errno);
    return true;
}

bool Writer::commit()
{
    if (m_fd < 0)
        return false;
    if (m_mode == Mode::InPlace && !commitInPlace())
        return false;
    if (m_mode == Mode::Replace && m_durable && !sync(m_fd))
        return fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (m_mode == Mode::Replace) {
        if (::rename(nativeName(m_temporary).constData(), nativeName(m_target).constData()) != 0)
            return fail(errno);
        if (m_durable)
            syncFolder(QFileInfo(m_target).path());
    }
    m_temporary.clear();
    return true;
}

bool write(const QString& path, const QByteArray& bytes, QString* error)
{
    Writer file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    return ::stat(nativeName(a).constData(), &sa) == 0 && ::stat(nativeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace atomicfile
