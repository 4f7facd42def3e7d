#include "launch/DebugFile.h"

#include <QFile>

#include <cstdio>

namespace launch {

bool isReadable(const QString& path)
{
#ifdef Q_OS_WIN
    std::FILE* f = _wfopen(reinterpret_cast<const wchar_t*>(path.utf16()), L"r");
#else
    std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "r");
#endif
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

bool truncateExisting(const QString& path, QString* reason)
{
    // No O_CREAT: a file removed since it was found is not brought back.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::ExistingOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    file.close();
    return true;
}

}  // namespace launch
