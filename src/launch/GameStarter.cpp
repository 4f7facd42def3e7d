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
#include <unistd.h>

#include <cerrno>
#endif

namespace launch {
namespace {

constexpr int kPollMs = 500;

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

WineShortPathQuery::WineShortPathQuery(QObject* parent, int timeoutMs) : QObject(parent), m_timeoutMs(timeoutMs)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        stop();
        finish(QString());
    });
}

WineShortPathQuery::~WineShortPathQuery() { stop(); }

bool WineShortPathQuery::start(const QString& windowsPath)
{
    if (running())
        return false;
    const QString winepath = QStandardPaths::findExecutable(QStringLiteral("winepath"));
    if (winepath.isEmpty()) {
        finish(QString());
        return true;
    }
    m_process = new QProcess(this);
#ifndef Q_OS_WIN
    // A group of its own, so that stopping it reaches whatever it started
    // (a Wine server, a prefix being set up).
    m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    connect(m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        const bool ok = status == QProcess::NormalExit && exitCode == 0;
        const QString answer = ok ? QString::fromLocal8Bit(m_process->readAllStandardOutput()) : QString();
        m_timeout.stop();
        m_process->deleteLater();
        m_process = nullptr;
        finish(answer.section(u'\n', 0, 0).trimmed());
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;  // a crash or a kill also ends in finished()
        m_timeout.stop();
        m_process->deleteLater();
        m_process = nullptr;
        finish(QString());
    });
    m_timeout.start(m_timeoutMs);
    m_process->start(winepath, {QStringLiteral("-s"), windowsPath});
    return true;
}

void WineShortPathQuery::finish(const QString& shortPath)
{
    // Told from the event loop, never from inside the process's own signal:
    // the listener may ask the user a question.
    m_answerDue = true;
    QMetaObject::invokeMethod(
        this,
        [this, shortPath] {
            m_answerDue = false;
            emit answered(shortPath);
        },
        Qt::QueuedConnection);
}

void WineShortPathQuery::stop()
{
    m_timeout.stop();
    if (!m_process)
        return;
    QProcess* process = m_process;
    m_process = nullptr;
    process->disconnect(this);
#ifndef Q_OS_WIN
    if (const qint64 pid = process->processId(); pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
#endif
    process->kill();
    process->waitForFinished(1000);
    delete process;
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
