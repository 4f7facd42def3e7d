#include "launch/LaunchCommands.h"

#include "launch/CLaunchOptionsDlg.h"
#include "launch/DebugFile.h"
#include "launch/LaunchPlan.h"
#include "launch/LaunchSettings.h"
#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <QScopeGuard>
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
    connect(&m_wineQuery, &WineShortPathQuery::answered, this, [this](const QString& shortPath) {
        launch(planLaunch(m_pendingSettings, m_pendingScript.path, m_pendingScript.modified, hostPlatform(),
                          [&](const QString&) { return shortPath; }));
    });
}

LaunchCommands::~LaunchCommands() = default;

void LaunchCommands::OnLaunchOptions()
{
    CLaunchOptionsDlg dlg(m_owner);
    const LaunchSettings shown = LaunchSettings::read(ProfileStore::app(), LaunchSettings::dialogDefaults());
    dlg.setSettings(shown);
    if (dlg.DoModal() != ids::IDOK)
        return;
    // A failure is told by the store's reporter; the choice is used for this
    // run either way, as the store keeps it.
    dlg.settings().write(ProfileStore::app(), &shown);
    emit launchSettingsChanged();
}

void LaunchCommands::OnLaunchScript()
{
    if (m_launching)
        return;
    m_pendingScript = m_currentScript ? m_currentScript() : ScriptState();
    m_pendingSettings = launchSettings();
    // Wine's short form of the script's path can take seconds (Wine may
    // start its server first): the launch goes on when winepath answers,
    // and the editor is not held up meanwhile.
    QString askWine;
    const LaunchPlan plan = planLaunch(m_pendingSettings, m_pendingScript.path, m_pendingScript.modified,
                                       hostPlatform(), [&](const QString& windowsPath) {
                                           askWine = windowsPath;
                                           return QString();
                                       });
    m_launching = true;
    if (askWine.isEmpty())
        launch(plan);
    else
        m_wineQuery.start(askWine);
}

void LaunchCommands::launch(const LaunchPlan& plan)
{
    // Cleared only when the launch is over: the question below lets events
    // through, F12 among them.
    const auto over = qScopeGuard([this] { m_launching = false; });
    if (plan.refusal) {
        show(m_owner, *plan.refusal);
        return;
    }
    if (!m_pendingScript.otherModified.isEmpty()) {
        show(m_owner, otherScriptModified(m_pendingScript.otherModified));
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
    desktop::openFile(m_owner, path, str::kDebugOpenFailed);
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
