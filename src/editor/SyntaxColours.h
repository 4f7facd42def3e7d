// The six colours of the highlighter, as 0x00BBGGRR values, and their place
// in the settings store.
#pragma once

#include "editor/HighlightEngine.h"

#include <QtGlobal>

#include <array>

class ProfileStore;

using ColourRef = quint32;  // 0x00BBGGRR

struct SyntaxColours {
    ColourRef m_clrRegularText = 0x00000000;
    ColourRef m_clrCommands = 0x00FF8000;
    ColourRef m_clrKeywords = 0x00C86464;
    ColourRef m_clrStrings = 0x003060C0;
    ColourRef m_clrComments = 0x00649664;
    ColourRef m_clrLabels = 0x00408080;

    // The built-in colours, in the order of the fields above.
    static constexpr std::array<ColourRef, 6> kDefaults = {0x00000000, 0x00FF8000, 0x00C86464,
                                                           0x003060C0, 0x00649664, 0x00408080};

    // Reads the six entries in field order; a missing entry gives its default.
    void read(const ProfileStore& store);
    // Writes all six, changed or not. False when the store could not be written.
    bool write(ProfileStore& store) const;

    ColourRef forClass(TextClass cls) const;
    ColourRef& field(int commandId);  // the field a colour command edits
};
