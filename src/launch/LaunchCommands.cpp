#include "launch/LaunchCommands.h"

#include "launch/CLaunchOptionsDlg.h"
#include "launch/DebugFile.h"
#include "launch/LaunchPlan.h"
#include "launch/LaunchSettings.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QWidget>

namespace launch {
namespace {

constexpr unsigned kErrorFlags = mb::MB_OK | mb::MB_ICONEXCLAMATION;

int show(QWidget* parent, const Message& m) { return mb::show(parent, m.text, m.caption, m.flags); }

LaunchSettings launchSettings() { return LaunchSettings::read(ProfileStore::app(), LaunchSettings::launchDefaults()); }

}  // namespace

LaunchCommands::LaunchCommands(QWidget* owner, ScriptQuery currentScript)
    : QObject(owner), m_owner(owner), m_currentScript(std::move(currentScript))
{
    connect(&m_games, &RunningGames::ended, this, &LaunchCommands::gameEnded);
}

LaunchCommands::~LaunchCommands() = default;

void LaunchCommands::OnLaunchOptions()
{
    CLaunchOptionsDlg dlg(m_owner);
    dlg.setSettings(LaunchSettings::read(ProfileStore::app(), LaunchSettings::dialogDefaults()));
    if (dlg.DoModal() != ids::IDOK)
        return;
    dlg.settings().write(ProfileStore::app());
    emit launchSettingsChanged();
}

void LaunchCommands::OnLaunchScript()
{
    const ScriptState script = m_currentScript ? m_currentScript() : ScriptState();
    const LaunchPlan plan =
        planLaunch(launchSettings(), script.path, script.modified, hostPlatform(), &launch::wineShortPath);
    if (plan.refusal) {
        show(m_owner, *plan.refusal);
        return;
    }
    if (!script.otherModified.isEmpty()) {
        show(m_owner, otherScriptModified(script.otherModified));
        return;
    }
    if (plan.askPathWarning && show(m_owner, pathWarning()) == mb::IDNO)
        return;
    const GameStart started = startGame(plan);
    if (!started.failure.isEmpty())
        mb::show(m_owner, started.failure, str::kCaptionLaunchError, kErrorFlags);
    else
        m_games.watch(started.pid);
}

QString LaunchCommands::readableDebugFile(QLatin1String notFound)
{
    const DebugTarget target = debugTarget(launchSettings());
    if (target.refusal) {
        show(m_owner, *target.refusal);
        return QString();
    }
    if (!isReadableFile(target.path)) {
        mb::show(m_owner, notFound, str::kCaptionError, kErrorFlags);
        return QString();
    }
    return target.path;
}

void LaunchCommands::OnOpenDebugFile()
{
    const QString path = readableDebugFile(str::kDebugNotFound);
    if (path.isEmpty())
        return;
    // Without a program for text files the desktop only complains on standard error.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        mb::show(m_owner, QString(str::kDebugOpenFailed).arg(QDir::toNativeSeparators(path)), str::kCaptionError,
                 kErrorFlags);
}

void LaunchCommands::OnClearDebugFile()
{
    const QString path = readableDebugFile(str::kDebugNotFoundClear);
    if (path.isEmpty())
        return;
    if (mb::show(m_owner, str::kDebugClearQuestion, str::kCaptionConfirm,
                 mb::MB_YESNO | mb::MB_ICONEXCLAMATION | mb::MB_DEFBUTTON2) == mb::IDNO)
        return;
    QString reason;
    if (!truncateExisting(path, &reason))
        mb::show(m_owner, QString(str::kDebugClearFailed).arg(path, reason), str::kCaptionError, kErrorFlags);
}

}  // namespace launch
