// The editor's own switches and whether the debug output panel is shown,
// kept in the "Editor" section: read at start, written at exit.
#pragma once

class ProfileStore;

struct EditorSettings {
    bool lineNumbers = true;
    bool autoIndent = true;
    bool colourAsYouType = true;
    bool debugOutput = false;  // the debug output panel is shown
    bool scriptHints = true;   // hints underlined and told in the status bar
    bool outline = false;      // the outline panel is shown

    // Reads the entries; a missing one keeps its default.
    void read(const ProfileStore& store);
    // Writes them all as one change. False when the store could not be written.
    bool write(ProfileStore& store) const;

    bool operator==(const EditorSettings&) const = default;
};
