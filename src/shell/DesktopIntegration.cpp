#include "shell/DesktopIntegration.h"

#include "platform/AtomicFile.h"
#include "platform/XdgPaths.h"
#include "resources/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace DesktopIntegration {
namespace {

// Writes bytes to path unless the file already holds exactly them.
bool writeIfDifferent(const QString& path, const QByteArray& bytes)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return false;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return atomicfile::write(path, bytes);
}

QByteArray resourceBytes(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void runTool(const QString& tool, const QString& dir)
{
    const QString exe = QStandardPaths::findExecutable(tool);
    if (!exe.isEmpty())
        QProcess::startDetached(exe, {dir});
}

QString quoteExec(const QString& path)
{
    QString q;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            q += QLatin1Char('\\');
        q += c;
    }
    return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

QString mimeXml() { return QString::fromUtf8(resourceBytes(QStringLiteral(":/linux/vantrel-iws.xml"))); }

QString desktopEntry(const QString& executable)
{
    // The installed entry names the program on the PATH; written from a
    // running editor it names that editor's own path.
    QString entry = QString::fromUtf8(resourceBytes(QStringLiteral(":/linux/vantrel.desktop")));
    entry.replace(QLatin1String("\nExec=vantrel %f\n"),
                  QLatin1String("\nExec=") + quoteExec(executable) + QLatin1String(" %f\n"));
    return entry;
}

int registerFileType(const QString& executable)
{
#ifdef Q_OS_WIN
    // The file type's icon is the executable's second icon, the document icon.
    QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT\\") + str::kDocFileTypeId, QSettings::NativeFormat);
    classes.setValue(QStringLiteral("DefaultIcon/."), QDir::toNativeSeparators(executable) + QLatin1String(",1"));
    classes.setValue(QStringLiteral("."), QString(str::kDocFileTypeName));
    classes.setValue(QStringLiteral("shell/open/command/."),
                     QLatin1Char('"') + QDir::toNativeSeparators(executable) + QLatin1String("\" \"%1\""));
    QSettings ext(QStringLiteral("HKEY_CLASSES_ROOT\\") + str::kDocFilterExt, QSettings::NativeFormat);
    ext.setValue(QStringLiteral("."), QString(str::kDocFileTypeId));
    return 0;
#else
    const QString base = xdg::dataHome();
    const QString iconName = QString(str::kMimeType).replace(QLatin1Char('/'), QLatin1Char('-'));
    int written = 0;
    bool mimeChanged = false;
    if (writeIfDifferent(base + QLatin1String("/mime/packages/vantrel-iws.xml"), mimeXml().toUtf8())) {
        ++written;
        mimeChanged = true;
    }
    const QByteArray docIcon = resourceBytes(QStringLiteral(":/icons/129.png"));
    const QByteArray appIcon = resourceBytes(QStringLiteral(":/icons/128.png"));
    if (!docIcon.isEmpty() &&
        writeIfDifferent(base + QLatin1String("/icons/hicolor/48x48/mimetypes/") + iconName + QLatin1String(".png"),
                         docIcon))
        ++written;
    if (!appIcon.isEmpty() && writeIfDifferent(base + QLatin1String("/icons/hicolor/48x48/apps/vantrel.png"), appIcon))
        ++written;
    bool desktopChanged = false;
    if (writeIfDifferent(base + QLatin1String("/applications/") + str::kDesktopFileName,
                         desktopEntry(executable).toUtf8())) {
        ++written;
        desktopChanged = true;
    }
    // Let the desktop pick up the changes; without these tools it does so at its next scan.
    if (mimeChanged)
        runTool(QStringLiteral("update-mime-database"), base + QLatin1String("/mime"));
    if (desktopChanged)
        runTool(QStringLiteral("update-desktop-database"), base + QLatin1String("/applications"));
    return written;
#endif
}

}  // namespace DesktopIntegration
