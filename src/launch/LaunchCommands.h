// The launch and debug-output commands: Options > Launch Options, Script >
// Launch script, and Script > Open / Clear debug output file. The shell
// connects its actions to the slots and tells the commands, through a
// function, which script is open.
#pragma once

#include "launch/GameStarter.h"
#include "launch/LaunchSettings.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace launch {

// The script to launch as the launch needs it: where it is saved (empty when
// it never was) and whether it holds unsaved changes; and the name of another
// open script with unsaved changes, if there is one.
struct ScriptState {
    QString path;
    bool modified = false;
    QString otherModified;
};

class LaunchCommands : public QObject {
    Q_OBJECT
public:
    using ScriptQuery = std::function<ScriptState()>;

    // owner parents every message box and dialog of the commands, and this
    // object; currentScript is asked at each launch.
    LaunchCommands(QWidget* owner, ScriptQuery currentScript);
    ~LaunchCommands() override;

public slots:
    // Edits the launch settings; writes them on OK.
    void OnLaunchOptions();
    // Starts the chosen game on the saved script.
    void OnLaunchScript();
    // Hands the chosen game's debug.txt to the desktop's viewer.
    void OnOpenDebugFile();
    // Empties the chosen game's debug.txt after asking.
    void OnClearDebugFile();

signals:
    // Launch Options was closed with OK and the settings written.
    void launchSettingsChanged();
    // A game that this editor launched has exited.
    void gameEnded();

private:
    QString readableDebugFile(QLatin1String notFound);
    void launch(const LaunchPlan& plan);

    QWidget* m_owner;
    ScriptQuery m_currentScript;
    RunningGames m_games;
    // A launch in progress: from F12 until the game is started or the launch
    // given up, through Wine's answer and the user's. Another F12 meanwhile
    // does nothing, so that one key press never starts two games.
    bool m_launching = false;
    LaunchSettings m_pendingSettings;
    ScriptState m_pendingScript;
    WineShortPathQuery m_wineQuery;
};

}  // namespace launch
