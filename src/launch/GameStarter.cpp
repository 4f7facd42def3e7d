#include "launch/GameStarter.h"

#include "resources/strings.h"

#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace launch {

QString startGame(const LaunchPlan& plan)
{
#ifdef Q_OS_WIN
    const QByteArray file = plan.executable.toLocal8Bit();
    const QByteArray parameters = plan.parameters.toLocal8Bit();
    const QByteArray directory = plan.directory.toLocal8Bit();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", file.constData(), parameters.constData(), directory.constData(), SW_SHOWNORMAL));
    // Values up to 32 are the shell's error codes, which for the common causes
    // (no such file or path, access denied, not a program) are system codes.
    if (result <= 32)
        return QString(str::kLaunchCouldNotStart).arg(plan.executable, qt_error_string(int(result)));
    return QString();
#else
    QString program = plan.executable;
    QStringList arguments = plan.parameters.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (plan.throughWine) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return QString(str::kLaunchCouldNotStart).arg(plan.executable, str::kLaunchNoWine);
        arguments.prepend(plan.executable);
        program = wine;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(plan.directory);
    if (!process.startDetached())
        return QString(str::kLaunchCouldNotStart).arg(plan.executable, process.errorString());
    return QString();
#endif
}

}  // namespace launch
