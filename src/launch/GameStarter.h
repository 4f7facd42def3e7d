// Starts the game a launch plan describes without waiting for it, and tells
// when a game it started has ended.
#pragma once

#include "launch/LaunchPlan.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class QProcess;

namespace launch {

struct GameStart {
    QString failure;  // empty when the game started; else what and why, for the user
    qint64 pid = 0;   // the game's process, once started
};

// Starts plan.executable in plan.directory, detached, so that the game
// outlives the editor. On Windows the game gets the parameter text as its
// one command line; elsewhere it gets plan.arguments(), and a Windows
// executable runs through the "wine" found on the PATH.
GameStart startGame(const LaunchPlan& plan);

// Wine may have to start its server and set up its prefix first.
inline constexpr int kWinePathTimeoutMs = 15000;

// Asks the "winepath" found on the PATH for the short form of a Windows path
// without waiting for it: answered() comes later, from the event loop, with
// the short form, or with an empty string when there is no winepath, it
// fails, or it has not answered within timeoutMs. winepath runs in a process
// group of its own; when it is stopped (timed out, or the query destroyed
// while it runs) the whole group goes, so nothing it started is left running.
class WineShortPathQuery : public QObject {
    Q_OBJECT
public:
    explicit WineShortPathQuery(QObject* parent = nullptr, int timeoutMs = kWinePathTimeoutMs);
    ~WineShortPathQuery() override;

    // Starts a query; false, and nothing started, while one is running.
    bool start(const QString& windowsPath);
    bool running() const { return m_process != nullptr || m_answerDue; }

signals:
    void answered(const QString& shortPath);

private:
    void finish(const QString& shortPath);
    void stop();

    QProcess* m_process = nullptr;
    QTimer m_timeout;
    int m_timeoutMs;
    bool m_answerDue = false;
};

// The games started by this editor that are still running. A detached
// process is no child of ours, so nothing tells us when it ends: its
// process id is looked at every half second while any game runs, and the
// timer stops when none is left. A process id that the system gives to a new
// process within that half second would be taken for the game; that is the
// price of not keeping the game tied to the editor.
class RunningGames : public QObject {
    Q_OBJECT
public:
    explicit RunningGames(QObject* parent = nullptr);

    void watch(qint64 pid);

signals:
    // One game has ended.
    void ended();

private:
    void poll();

    QList<qint64> m_pids;
    QTimer m_timer;
};

}  // namespace launch
