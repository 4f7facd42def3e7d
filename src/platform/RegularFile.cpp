#include "platform/RegularFile.h"

#include "resources/strings.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace regularfile {
namespace {

bool fail(QString* reason, const QString& why)
{
    if (reason)
        *reason = why;
    return false;
}

}  // namespace

bool open(QFile& file, const QString& path, QIODevice::OpenMode mode, QString* reason)
{
#ifdef Q_OS_WIN
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
        return fail(reason, str::kNotRegularFile);
    file.setFileName(path);
    return file.open(mode | QIODevice::ExistingOnly) || fail(reason, file.errorString());
#else
    // Looked at before it is opened, so that no device is opened at all, and
    // again after: something else may have taken the name in between.
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return fail(reason, qt_error_string(errno));
    if (!S_ISREG(st.st_mode))
        return fail(reason, str::kNotRegularFile);
    const int access = mode.testFlag(QIODevice::WriteOnly) ? O_WRONLY : O_RDONLY;
    const int fd = ::open(name.constData(), access | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(reason, qt_error_string(errno));
    QString why;
    if (::fstat(fd, &st) != 0)
        why = qt_error_string(errno);
    else if (!S_ISREG(st.st_mode))
        why = str::kNotRegularFile;
    else if (!file.open(fd, mode, QFileDevice::AutoCloseHandle))
        why = file.errorString();
    if (why.isEmpty())
        return true;
    ::close(fd);
    return fail(reason, why);
#endif
}

}  // namespace regularfile
