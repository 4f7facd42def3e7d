// The editor's own switches and whether the debug output panel is shown,
// kept in the "Editor" section: read at start, written at exit (only those
// the user changed, so that another editor's choice is not undone).
#pragma once

class ProfileStore;

struct EditorSettings {
    bool lineNumbers = true;
    bool autoIndent = true;
    bool colourAsYouType = true;
    bool debugOutput = false;  // the debug output panel is shown
    bool scriptHints = true;   // hints underlined and told in the status bar
    bool outline = false;      // the outline is shown beside the script
    // New, Open, a recent file, a drop and a hand-over open a tab of their
    // own instead of replacing the active script.
    bool openInTabs = false;

    // Reads the entries; a missing one keeps its default.
    void read(const ProfileStore& store);
    // Writes, as one change, those that differ from before (all of them
    // without it). False when the store could not be written.
    bool write(ProfileStore& store, const EditorSettings* before = nullptr) const;

    bool operator==(const EditorSettings&) const = default;
};
