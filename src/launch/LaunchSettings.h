// The seventeen entries of the "Launch Settings" section: where the two games
// live, which one to start, in which video mode, with which switches, and
// whether to warn about script paths with blanks.
//
// Nothing keeps a copy between commands: each command reads the entries when
// it runs, with its own defaults, and only the Launch Options command writes.
#pragma once

#include <QString>

class ProfileStore;

namespace launch {

struct LaunchSettings {
    // Check boxes: non-zero passes the switch.
    int c_console = 0;
    int c_debug = 0;
    int c_director = 0;
    int c_disk = 0;
    int c_lagrange = 0;
    int c_nohud = 0;
    int c_nologos = 0;
    int c_noslab = 0;
    int c_nozlock = 0;
    int c_powers = 0;
    // Folders, used verbatim (the user is asked for a trailing separator).
    QString f_iwar;
    QString f_defi;
    // Executable file names, without a path.
    QString c_iwar_exe;
    QString c_defi_exe;
    // -1 none, 0 Independence War, 1 Defiance; other values count as none.
    int g_game = -1;
    // 0 window, 1 fullscreen, 2 3Dfx 640x480, 3 3Dfx 800x600; others as 1.
    int g_video = 1;
    // Exactly 1: ask before a spaced script path is shortened.
    int l_pathcheck = 1;

    // What the Launch Options dialog shows for entries that were never written.
    static LaunchSettings dialogDefaults();
    // What the launch and the debug-output commands assume for them.
    static LaunchSettings launchDefaults();

    // Every entry from the store; a missing one keeps its value in defaults.
    static LaunchSettings read(const ProfileStore& store, const LaunchSettings& defaults);
    // The entries as one change, in the order the section has always been
    // written: all seventeen, or with shown (what the Launch Options dialog
    // started from) those the user changed and those the store lacks, so that
    // what another editor stored meanwhile stays. False when the store could
    // not be written.
    bool write(ProfileStore& store, const LaunchSettings* shown = nullptr) const;

    bool operator==(const LaunchSettings&) const = default;
};

// The switch text: the video switch, then each set check box's switch in a
// fixed order. Every switch ends in one blank, so the text is empty or ends
// in a blank and the script argument can follow directly.
QString BuildGameSwitches(const LaunchSettings& settings);

}  // namespace launch
