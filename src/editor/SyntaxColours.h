// The six colours of the highlighter, as 0x00BBGGRR values, and their place
// in the settings store.
#pragma once

#include "editor/HighlightEngine.h"

#include <QLatin1String>
#include <QtGlobal>

#include <span>

class ProfileStore;

using ColourRef = quint32;  // 0x00BBGGRR

struct SyntaxColours {
    ColourRef m_clrRegularText = 0x00000000;
    ColourRef m_clrCommands = 0x00FF8000;
    ColourRef m_clrKeywords = 0x00C86464;
    ColourRef m_clrStrings = 0x003060C0;
    ColourRef m_clrComments = 0x00649664;
    ColourRef m_clrLabels = 0x00408080;

    // One row per colour, in the order of the fields above: the class it
    // paints, its settings entry, the command that changes it and the field.
    // The built-in colour of a row is that of its field in a default-built
    // SyntaxColours.
    struct Row {
        TextClass cls;
        QLatin1String entry;
        int commandId;
        ColourRef SyntaxColours::*field;
    };
    static std::span<const Row> rows();
    static const Row* rowForCommand(int commandId);
    static ColourRef defaultFor(const Row& row) { return SyntaxColours{}.*row.field; }

    // Reads the six entries in field order; a missing entry gives its default.
    void read(const ProfileStore& store);
    // Writes the colours of the rows in rowMask (bit i: rows()[i]) as one
    // change; all six unless told. False when the store could not be written.
    static constexpr unsigned kAllRows = 0x3F;
    bool write(ProfileStore& store, unsigned rowMask = kAllRows) const;
    static unsigned rowBit(const Row& row) { return 1u << (&row - rows().data()); }

    ColourRef forClass(TextClass cls) const;
};
