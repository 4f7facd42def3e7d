#include "launch/GameStarter.h"

#include "resources/strings.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <signal.h>

#include <cerrno>
#endif

namespace launch {
namespace {

constexpr int kPollMs = 500;
// Wine may have to start its server and set up its prefix first.
constexpr int kWinePathTimeoutMs = 15000;

bool isRunning(qint64 pid)
{
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
#else
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    // An ended game that its new parent has not reaped yet is a zombie: gone.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    const qsizetype nameEnd = fields.lastIndexOf(')');
    const char state = nameEnd >= 0 && nameEnd + 2 < fields.size() ? fields[nameEnd + 2] : 'R';
    return state != 'Z' && state != 'X';
#endif
}

}  // namespace

GameStart startGame(const LaunchPlan& plan)
{
#ifdef Q_OS_WIN
    const QByteArray file = plan.executable.toLocal8Bit();
    const QByteArray parameters = plan.parameters().toLocal8Bit();
    const QByteArray directory = plan.directory.toLocal8Bit();
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = file.constData();
    info.lpParameters = parameters.constData();
    info.lpDirectory = directory.constData();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info))
        return {QString(str::kLaunchCouldNotStart).arg(plan.executable, qt_error_string(int(GetLastError())))};
    GameStart started;
    if (info.hProcess) {
        started.pid = GetProcessId(info.hProcess);
        CloseHandle(info.hProcess);
    }
    return started;
#else
    QString program = plan.executable;
    QStringList arguments = plan.arguments();
    if (plan.throughWine) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return {QString(str::kLaunchCouldNotStart).arg(plan.executable, str::kLaunchNoWine)};
        arguments.prepend(plan.executable);
        program = wine;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(plan.directory);
    GameStart started;
    if (!process.startDetached(&started.pid))
        return {QString(str::kLaunchCouldNotStart).arg(plan.executable, process.errorString())};
    return started;
#endif
}

QString wineShortPath(const QString& windowsPath)
{
    const QString winepath = QStandardPaths::findExecutable(QStringLiteral("winepath"));
    if (winepath.isEmpty())
        return QString();
    QProcess process;
    process.start(winepath, {QStringLiteral("-s"), windowsPath});
    if (!process.waitForFinished(kWinePathTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}

RunningGames::RunningGames(QObject* parent) : QObject(parent)
{
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &RunningGames::poll);
}

void RunningGames::watch(qint64 pid)
{
    if (pid <= 0)
        return;
    m_pids.append(pid);
    m_timer.start();
}

void RunningGames::poll()
{
    const qsizetype gone = m_pids.removeIf([](qint64 pid) { return !isRunning(pid); });
    if (m_pids.isEmpty())
        m_timer.stop();
    // Told after the list is settled, so that a listener may start another game.
    for (qsizetype i = 0; i < gone; ++i)
        emit ended();
}

}  // namespace launch
