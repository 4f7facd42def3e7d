// The rules of the launch and debug-output commands, free of any window: what
// to refuse with, what to start with which parameters where, and which file
// is the game's debug output. The commands only show what these decide.
#pragma once

#include "launch/LaunchSettings.h"

#include <QString>

#include <optional>

namespace launch {

// The system whose rules apply: Windows hands the game one command line;
// elsewhere a Windows executable runs through Wine.
enum class Platform { Windows, Unix };
Platform hostPlatform();

// A message box: text, caption and MB_ flags.
struct Message {
    QString text;
    QString caption;
    unsigned flags = 0;
    bool operator==(const Message&) const = default;
};

// The game's command line in the shape the game accepts: a path without
// blanks. Each pass takes the first blank and the path component holding it
// (cut at "\" or "/"; in the file name, at the first dot after the blank),
// drops the blank if it is among the component's first six characters, keeps
// six characters and appends "~1". Passes repeat until no blank is left.
QString ShortenPathWithSpaces(const QString& path);

// How Wine names a file of the host: "Z:" and the absolute path with "\".
QString WinePath(const QString& unixPath);

// The last "\" or "/" of a path, or -1.
qsizetype lastSeparator(const QString& path);

// True when this executable has to run through Wine on the platform.
bool needsWine(const QString& executable, Platform platform);

struct LaunchPlan {
    // Set when the launch is refused; nothing else is then filled in.
    std::optional<Message> refusal;
    QString executable;  // folder followed directly by the executable name
    QString parameters;  // switch text followed directly by the script argument
    QString directory;   // the executable path up to its last separator
    bool throughWine = false;
    // The script argument holds a blank and the user wants to be asked
    // before it is shortened (the parameters already hold the short form).
    bool askPathWarning = false;
};

// Decides a launch of the script saved at pathName (empty when it was never
// saved) from the settings as the launch reads them. Refusals come in a fixed
// order: game, executable name, folder, saved script.
LaunchPlan planLaunch(const LaunchSettings& settings, const QString& pathName, bool modified,
                      Platform platform = hostPlatform());

// The warning asked before a spaced path is shortened.
Message pathWarning();

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
