#include "launch/LaunchPlan.h"

#include "platform/MessageFlags.h"
#include "resources/strings.h"

#include <QDir>

namespace launch {
namespace {

constexpr QChar kBlank(u' ');
constexpr QChar kWindowsSeparator(u'\\');
constexpr qsizetype kKeptChars = 6;
constexpr qsizetype kMinSetLength = 3;  // shorter names, folders and paths count as not set

// The folder and executable name of the game that the settings choose.
struct Game {
    QString folder;
    QString executable;
    bool defiance = false;
};

std::optional<Game> chosenGame(const LaunchSettings& settings)
{
    switch (settings.g_game) {
    case 0:
        return Game{settings.f_iwar, settings.c_iwar_exe, false};
    case 1:
        return Game{settings.f_defi, settings.c_defi_exe, true};
    default:  // -1, and any value the dialog never writes
        return std::nullopt;
    }
}

QChar separatorOf(Platform platform) { return platform == Platform::Windows ? kWindowsSeparator : QChar(u'/'); }

// Windows reads "/" as a separator too; elsewhere "\" is an ordinary character.
bool endsInSeparator(const QString& path, Platform platform)
{
    return path.endsWith(separatorOf(platform)) || (platform == Platform::Windows && path.endsWith(u'/'));
}

// The game gets the separators of its system, whatever Qt or the user wrote.
QString native(QString path, Platform platform)
{
    return platform == Platform::Windows ? path.replace(u'/', kWindowsSeparator) : path;
}

QString joined(const QString& folder, const QString& name, Platform platform)
{
    return endsInSeparator(folder, platform) ? folder + name : folder + separatorOf(platform) + name;
}

Message launchError(QLatin1String text)
{
    return {QString(text), QString(str::kCaptionLaunchError), mb::MB_OK | mb::MB_ICONEXCLAMATION};
}

struct ScriptArgument {
    QString path;
    bool shortenedByUs = false;
};

ScriptArgument scriptArgument(const QString& pathName, Platform platform, bool throughWine,
                              const WineShortPath& wineShortPath)
{
    // A native game takes the path as an argument of its own, blanks and all.
    if (platform != Platform::Windows && !throughWine)
        return {pathName};
    const QString windowsPath = throughWine ? WinePath(pathName) : native(pathName, platform);
    if (!windowsPath.contains(kBlank))
        return {windowsPath};
    // Wine knows the short names of its files; ours would name none.
    if (throughWine && wineShortPath) {
        const QString wineShort = wineShortPath(windowsPath);
        if (!wineShort.isEmpty() && !wineShort.contains(kBlank))
            return {wineShort};
    }
    return {ShortenPathWithSpaces(windowsPath), true};
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

QString ShortenPathWithSpaces(const QString& windowsPath)
{
    QString result = windowsPath;
    for (qsizetype blank = result.indexOf(kBlank); blank >= 0; blank = result.indexOf(kBlank)) {
        const qsizetype start = result.lastIndexOf(kWindowsSeparator, blank) + 1;
        qsizetype end = result.indexOf(kWindowsSeparator, blank + 1);
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
    return QLatin1String("Z:") + absolute.replace(u'/', kWindowsSeparator);
}

QStringList LaunchPlan::arguments() const { return switches.split(kBlank, Qt::SkipEmptyParts) << script; }

LaunchPlan planLaunch(const LaunchSettings& settings, const QString& pathName, bool modified, Platform platform,
                      const WineShortPath& wineShortPath)
{
    LaunchPlan plan;
    const std::optional<Game> game = chosenGame(settings);
    if (!game) {
        plan.refusal = launchError(str::kLaunchNoGame);
        return plan;
    }
    if (game->executable.size() < kMinSetLength) {
        plan.refusal = launchError(game->defiance ? str::kLaunchNoDefiExe : str::kLaunchNoIwarExe);
        return plan;
    }
    if (game->folder.size() < kMinSetLength) {
        plan.refusal = launchError(str::kLaunchNoFolder);
        return plan;
    }
    // The game always runs the script as last saved.
    if (pathName.size() < kMinSetLength || modified) {
        plan.refusal = launchError(str::kLaunchNotSaved);
        return plan;
    }

    plan.executable = native(joined(game->folder, game->executable, platform), platform);
    plan.throughWine =
        platform != Platform::Windows && game->executable.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
    plan.switches = BuildGameSwitches(settings);
    const ScriptArgument script = scriptArgument(pathName, platform, plan.throughWine, wineShortPath);
    plan.script = script.path;
    plan.askPathWarning = script.shortenedByUs && settings.l_pathcheck == 1;
    const qsizetype sep = plan.executable.lastIndexOf(separatorOf(platform));
    plan.directory = sep < 0 ? QString() : plan.executable.left(sep);
    return plan;
}

QString chosenGameFolder(const LaunchSettings& settings)
{
    const std::optional<Game> game = chosenGame(settings);
    return game ? game->folder : QString();
}

Message pathWarning()
{
    return {QString(str::kLaunchPathWarning), QString(str::kCaptionLaunchWarning),
            mb::MB_YESNO | mb::MB_ICONEXCLAMATION};
}

Message otherScriptModified(const QString& name)
{
    return {QString(str::kLaunchOtherModified).arg(name), QString(str::kCaptionLaunchError),
            mb::MB_OK | mb::MB_ICONEXCLAMATION};
}

DebugTarget debugTarget(const LaunchSettings& settings, Platform platform)
{
    DebugTarget target;
    const std::optional<Game> game = chosenGame(settings);
    if (!game) {
        target.refusal =
            Message{QString(str::kDebugNoGame), QString(str::kCaptionError), mb::MB_OK | mb::MB_ICONEXCLAMATION};
        return target;
    }
    target.path = game->folder + separatorOf(platform) + str::kDebugFileName;
    return target;
}

}  // namespace launch
