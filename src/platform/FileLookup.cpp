#include "platform/FileLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace filelookup {
namespace {

// Scripts written on Windows separate folders with a backslash.
QString slashes(const QString& path) { return QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')); }

QStringList matchesIn(const QString& folder, const QString& name)
{
    QString wanted = slashes(name);
    const qsizetype slash = wanted.lastIndexOf(QLatin1Char('/'));
    QDir dir(folder);
    if (slash >= 0) {
        // Each folder part matches without regard to case as well.
        for (const QString& part : wanted.left(slash).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            if (part == QLatin1String(".") || part == QLatin1String("..")) {
                if (!dir.cd(part))
                    return {};
                continue;
            }
            const QStringList subs = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
            const auto it = std::find_if(subs.begin(), subs.end(),
                                         [&](const QString& s) { return s.compare(part, Qt::CaseInsensitive) == 0; });
            if (it == subs.end() || !dir.cd(*it))
                return {};
        }
        wanted = wanted.mid(slash + 1);
    }
    if (wanted.isEmpty())
        return {};
    const bool wildcard = wanted.contains(QLatin1Char('*')) || wanted.contains(QLatin1Char('?'));
    if (!wildcard && QFileInfo(dir.filePath(wanted)).isFile())
        return {QFileInfo(dir.filePath(wanted)).absoluteFilePath()};
    const QRegularExpression pattern(wildcard ? QRegularExpression::wildcardToRegularExpression(wanted) : QString(),
                                     QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (wildcard ? pattern.match(entry).hasMatch() : entry.compare(wanted, Qt::CaseInsensitive) == 0)
            found.append(QFileInfo(dir.filePath(entry)).absoluteFilePath());
    }
    return found;
}

}  // namespace

Result find(const QString& name, const QString& scriptFolder, const QString& gameFolder)
{
    Result result;
    const QString trimmed = slashes(name.trimmed());
    if (trimmed.isEmpty())
        return result;
    if (QDir::isAbsolutePath(trimmed)) {
        const QFileInfo info(trimmed);
        result.searched.append(QDir::toNativeSeparators(info.absolutePath()));
        result.matches = matchesIn(info.absolutePath(), info.fileName());
        return result;
    }
    for (const QString& folder : {scriptFolder, gameFolder}) {
        if (folder.isEmpty())
            continue;
        const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
        if (result.searched.contains(QDir::toNativeSeparators(clean)))
            continue;
        result.searched.append(QDir::toNativeSeparators(clean));
        result.matches = matchesIn(clean, trimmed);
        if (!result.matches.isEmpty())
            break;
    }
    return result;
}

}  // namespace filelookup
