#include "platform/DesktopOpener.h"

#include "platform/MessageBox.h"
#include "resources/strings.h"

#include <QDesktopServices>
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <set>

namespace desktop {
namespace {

void tellFailure(QWidget* parent, const QString& path, QLatin1String failedText)
{
    mb::show(parent, QString(failedText).arg(QDir::toNativeSeparators(path)), str::kCaptionError,
             mb::MB_OK | mb::MB_ICONEXCLAMATION);
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// Openers not yet done with. They belong to no window and outlive the
// editor: an opener may wait for the program it started, which the user may
// still be reading when the editor closes.
std::set<QProcess*>& runningOpeners()
{
    static std::set<QProcess*> openers;
    return openers;
}
#endif

}  // namespace

void openFile(QWidget* parent, const QString& path, QLatin1String failedText)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open itself, not the desktop services: those only know whether the
    // opener started, and its failure would reach standard error alone.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        tellFailure(parent, path, failedText);
        return;
    }
    auto* process = new QProcess;
    runningOpeners().insert(process);
    QObject::connect(process, &QObject::destroyed, [process] { runningOpeners().erase(process); });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    const QPointer<QWidget> owner(parent);
    const auto ended = [process, owner, path, failedText](bool failed) {
        process->deleteLater();
        // Told from the event loop, not from inside the process's signal.
        if (failed) {
            QTimer::singleShot(0, [owner, path, failedText] { tellFailure(owner, path, failedText); });
        }
    };
    QObject::connect(process, &QProcess::finished, [ended](int exitCode, QProcess::ExitStatus status) {
        ended(status != QProcess::NormalExit || exitCode != 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, [ended](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(true);
    });
    process->start(opener, {path});
#else
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        tellFailure(parent, path, failedText);
#endif
}

}  // namespace desktop
