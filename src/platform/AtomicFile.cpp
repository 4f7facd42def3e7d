#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
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
    if (openTemporary(exists ? int(st.st_mode & 07777) : -1))
        return true;
    const int error = errno;
    if (exists) {
        m_fd = ::open(nativeName(m_target).constData(), O_WRONLY | O_CLOEXEC);
        if (m_fd >= 0) {
            m_mode = Mode::InPlace;
            return true;
        }
    }
    return fail(error);
}

bool Writer::openTemporary(int permissions)
{
    // Named after the target, so that one left behind by a crash shows whose it is.
    const QFileInfo target(m_target);
    for (int attempt = 0; attempt < 64; ++attempt) {
        const QString name = target.fileName() +
                             QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
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
    if (m_mode == Mode::Replace && !sync(m_fd))
        return fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (m_mode == Mode::Replace && ::rename(nativeName(m_temporary).constData(), nativeName(m_target).constData()) != 0)
        return fail(errno);
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
