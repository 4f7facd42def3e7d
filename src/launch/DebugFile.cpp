#include "launch/DebugFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace launch {

#ifdef Q_OS_WIN

bool isReadableFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    std::FILE* f = _wfopen(reinterpret_cast<const wchar_t*>(path.utf16()), L"r");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

bool truncateExisting(const QString& path, QString* reason)
{
    // No creation: a file removed since it was found is not brought back.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::ExistingOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

#else

namespace {

bool isRegular(const QByteArray& name)
{
    struct stat st {};
    return ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// Opens without waiting (a FIFO that took the file's place since the test
// fails at once instead of blocking) and keeps the descriptor only when it
// really is a regular file.
int openRegular(const QByteArray& name, int flags)
{
    if (!isRegular(name))
        return -1;
    const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

}  // namespace

bool isReadableFile(const QString& path)
{
    const int fd = openRegular(QFile::encodeName(path), O_RDONLY);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool truncateExisting(const QString& path, QString* reason)
{
    // No O_CREAT: a file removed since it was found is not brought back.
    errno = ENOENT;
    const int fd = openRegular(QFile::encodeName(path), O_WRONLY);
    const bool ok = fd >= 0 && ::ftruncate(fd, 0) == 0;
    if (!ok && reason)
        *reason = qt_error_string(errno);
    if (fd >= 0)
        ::close(fd);
    return ok;
}

#endif

}  // namespace launch
