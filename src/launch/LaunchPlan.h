// The rules of the launch and debug-output commands, free of any window: what
// to refuse with, what to start with which arguments where, and which file
// is the game's debug output. The commands only show what these decide.
#pragma once

#include "launch/LaunchSettings.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace launch {

// The system whose rules apply: Windows hands the game one command line
// with "\" as the separator; elsewhere paths use "/" and a Windows
// executable runs through Wine.
enum class Platform { Windows, Unix };
Platform hostPlatform();

// A message box: text, caption and MB_ flags.
struct Message {
    QString text;
    QString caption;
    unsigned flags = 0;
    bool operator==(const Message&) const = default;
};

// A Windows path in the shape the game accepts: without blanks. Each pass
// takes the first blank and the path component holding it (cut at "\"; in
// the file name, at the first dot after the blank), drops the blank if it is
// among the component's first six characters, keeps six characters and
// appends "~1". Passes repeat until no blank is left.
QString ShortenPathWithSpaces(const QString& windowsPath);

// How Wine names a file of the host: "Z:" and the absolute path with "\".
QString WinePath(const QString& unixPath);

// Wine's own short form of a Windows path, or an empty string when Wine
// cannot give one.
using WineShortPath = std::function<QString(const QString& windowsPath)>;

struct LaunchPlan {
    // Set when the launch is refused; nothing else is then filled in.
    std::optional<Message> refusal;
    QString executable;  // the game's folder and executable name
    QString switches;    // empty, or switches that each end in a blank
    QString script;      // the script's path as the game is given it
    QString directory;   // the executable path up to its last separator
    bool throughWine = false;
    // The script's path holds a blank and has been shortened by our own
    // rules, and the user wants to be asked before that (the script already
    // holds the short form).
    bool askPathWarning = false;

    // The game's command line as one text: the switches, then the script.
    QString parameters() const { return switches + script; }
    // The same as separate arguments: each switch, then the script whole.
    QStringList arguments() const;
};

// Decides a launch of the script saved at pathName (empty when it was never
// saved) from the settings as the launch reads them. Refusals come in a fixed
// order: game, executable name, folder, saved script. Only a Windows game
// needs a path without blanks: a native game elsewhere gets the path as it
// is, and a game run through Wine gets Wine's short form when wineShortPath
// gives one.
LaunchPlan planLaunch(const LaunchSettings& settings, const QString& pathName, bool modified,
                      Platform platform = hostPlatform(), const WineShortPath& wineShortPath = {});

// The folder of the game the settings choose, as typed; empty when none is
// chosen. Included files that are not beside a script are looked for there.
QString chosenGameFolder(const LaunchSettings& settings);

// The warning asked before a spaced path is shortened by our own rules.
Message pathWarning();

// The refusal when another open script (named) holds unsaved changes: the
// game reads the files of a mission from disk, the old include with them.
Message otherScriptModified(const QString& name);

struct DebugTarget {
    std::optional<Message> refusal;  // no game chosen
    QString path;                    // the game's debug.txt
};

// The debug.txt of the chosen game: on Windows the folder followed by
// "\debug.txt"; elsewhere the folder and "debug.txt" joined with "/". The
// folder is used as typed: a trailing separator gives a doubled one, which
// both systems read as one.
DebugTarget debugTarget(const LaunchSettings& settings, Platform platform = hostPlatform());

}  // namespace launch
