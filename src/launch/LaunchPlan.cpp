#include "launch/LaunchPlan.h"

#include "platform/MessageBox.h"
#include "resources/strings.h"

#include <QDir>

namespace launch {
namespace {

constexpr QChar kBlank(u' ');
constexpr qsizetype kKeptChars = 6;
constexpr qsizetype kMinSetLength = 3;  // shorter names, folders and paths count as not set

bool isSeparator(QChar c) { return c == u'\\' || c == u'/'; }

qsizetype firstSeparatorFrom(const QString& path, qsizetype from)
{
    for (qsizetype i = from; i < path.size(); ++i) {
        if (isSeparator(path[i]))
            return i;
    }
    return -1;
}

Message launchError(QLatin1String text)
{
    return {QString(text), QString(str::kCaptionLaunchError), mb::MB_OK | mb::MB_ICONEXCLAMATION};
}

}  // namespace

Platform hostPlatform()
{
#ifdef Q_OS_WIN
    return Platform::Windows;
#else
    return Platform::Unix;
#endif
}

qsizetype lastSeparator(const QString& path) { return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')); }

QString ShortenPathWithSpaces(const QString& path)
{
    QString result = path;
    for (qsizetype blank = result.indexOf(kBlank); blank >= 0; blank = result.indexOf(kBlank)) {
        const qsizetype start = lastSeparator(result.left(blank)) + 1;
        qsizetype end = firstSeparatorFrom(result, blank + 1);
        if (end < 0)
            end = result.indexOf(u'.', blank + 1);  // the blank is in the file name: keep the extension
        if (end < 0)
            end = result.size();
        if (blank - start < kKeptChars) {
            result.remove(blank, 1);
            --end;
        }
        // Every pass removes the blank it found, so the loop ends.
        const qsizetype kept = std::min(kKeptChars, end - start);
        result = result.left(start + kept) + QLatin1String("~1") + result.mid(end);
    }
    return result;
}

QString WinePath(const QString& unixPath)
{
    QString absolute = QDir::isAbsolutePath(unixPath) ? unixPath : QDir::current().absoluteFilePath(unixPath);
    return QLatin1String("Z:") + absolute.replace(u'/', u'\\');
}

bool needsWine(const QString& executable, Platform platform)
{
    return platform != Platform::Windows && executable.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}

LaunchPlan planLaunch(const LaunchSettings& settings, const QString& pathName, bool modified, Platform platform)
{
    LaunchPlan plan;
    QString folder;
    QString name;
    switch (settings.g_game) {
    case 0:
        folder = settings.f_iwar;
        name = settings.c_iwar_exe;
        break;
    case 1:
        folder = settings.f_defi;
        name = settings.c_defi_exe;
        break;
    default:
        plan.refusal = launchError(str::kLaunchNoGame);
        return plan;
    }
    if (name.size() < kMinSetLength) {
        plan.refusal = launchError(settings.g_game == 0 ? str::kLaunchNoIwarExe : str::kLaunchNoDefiExe);
        return plan;
    }
    if (folder.size() < kMinSetLength) {
        plan.refusal = launchError(str::kLaunchNoFolder);
        return plan;
    }
    // The game always runs the script as last saved.
    if (pathName.size() < kMinSetLength || modified) {
        plan.refusal = launchError(str::kLaunchNotSaved);
        return plan;
    }

    plan.executable = folder + name;
    plan.throughWine = needsWine(plan.executable, platform);
    // A Windows game run through Wine finds the script under Wine's name for it.
    QString script = plan.throughWine ? WinePath(pathName) : pathName;
    if (script.contains(kBlank)) {
        plan.askPathWarning = settings.l_pathcheck == 1;
        script = ShortenPathWithSpaces(script);
    }
    plan.parameters = BuildGameSwitches(settings) + script;
    const qsizetype sep = lastSeparator(plan.executable);
    plan.directory = sep < 0 ? QString() : plan.executable.left(sep);
    return plan;
}

Message pathWarning()
{
    return {QString(str::kLaunchPathWarning), QString(str::kCaptionLaunchWarning),
            mb::MB_YESNO | mb::MB_ICONEXCLAMATION};
}

DebugTarget debugTarget(const LaunchSettings& settings, Platform platform)
{
    DebugTarget target;
    QString folder;
    switch (settings.g_game) {
    case 0:
        folder = settings.f_iwar;
        break;
    case 1:
        folder = settings.f_defi;
        break;
    default:
        target.refusal =
            Message{QString(str::kDebugNoGame), QString(str::kCaptionError), mb::MB_OK | mb::MB_ICONEXCLAMATION};
        return target;
    }
    const QChar separator = platform == Platform::Windows ? u'\\' : u'/';
    target.path = folder + separator + str::kDebugFileName;
    return target;
}

}  // namespace launch
