#include "launch/LaunchCommands.h"

#include "launch/CLaunchOptionsDlg.h"
#include "launch/DebugFile.h"
#include "launch/GameStarter.h"
#include "launch/LaunchPlan.h"
#include "launch/LaunchSettings.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

namespace launch {
namespace {

int show(QWidget* parent, const Message& m) { return mb::show(parent, m.text, m.caption, m.flags); }

void showLaunchError(QWidget* parent, const QString& text)
{
    mb::show(parent, text, str::kCaptionLaunchError, mb::MB_OK | mb::MB_ICONEXCLAMATION);
}

// The debug.txt of the chosen game, once it has proved readable; an empty
// string after telling the user why there is none.
QString readableDebugFile(QWidget* frame, QLatin1String notFound)
{
    const DebugTarget target = debugTarget(LaunchSettings::read(ProfileStore::app(), LaunchSettings::launchDefaults()));
    if (target.refusal) {
        show(frame, *target.refusal);
        return QString();
    }
    if (!isReadable(target.path)) {
        mb::show(frame, notFound, str::kCaptionError, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return QString();
    }
    return target.path;
}

}  // namespace

void OnLaunchOptions(QWidget* owner)
{
    // Owned by the main window, like every modal dialog of the program.
    CLaunchOptionsDlg dlg(owner ? owner->window() : nullptr);
    dlg.setSettings(LaunchSettings::read(ProfileStore::app(), LaunchSettings::dialogDefaults()));
    if (dlg.DoModal() == ids::IDOK)
        dlg.settings().write(ProfileStore::app());
}

void OnLaunchScript(QWidget* owner, const QString& pathName, bool modified)
{
    const LaunchPlan plan =
        planLaunch(LaunchSettings::read(ProfileStore::app(), LaunchSettings::launchDefaults()), pathName, modified);
    if (plan.refusal) {
        show(owner, *plan.refusal);
        return;
    }
    if (plan.askPathWarning && show(owner, pathWarning()) == mb::IDNO)
        return;
    const QString failure = startGame(plan);
    if (!failure.isEmpty())
        showLaunchError(owner, failure);
}

void OnOpenDebugFile(QWidget* frame)
{
    const QString path = readableDebugFile(frame, str::kDebugNotFound);
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void OnClearDebugFile(QWidget* frame)
{
    const QString path = readableDebugFile(frame, str::kDebugNotFoundClear);
    if (path.isEmpty())
        return;
    if (mb::show(frame, str::kDebugClearQuestion, str::kCaptionConfirm,
                 mb::MB_YESNO | mb::MB_ICONEXCLAMATION | mb::MB_DEFBUTTON2) == mb::IDNO)
        return;
    QString reason;
    if (!truncateExisting(path, &reason))
        mb::show(frame, QString(str::kDebugClearFailed).arg(path, reason), str::kCaptionError,
                 mb::MB_OK | mb::MB_ICONEXCLAMATION);
}

}  // namespace launch
