#include "editor/SyntaxColours.h"

#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

void SyntaxColours::read(const ProfileStore& store)
{
    const QString section = str::kSectionColours;
    m_clrRegularText = static_cast<ColourRef>(store.getInt(section, str::kEntryRegularText, int(kDefaults[0])));
    m_clrCommands = static_cast<ColourRef>(store.getInt(section, str::kEntryCommands, int(kDefaults[1])));
    m_clrKeywords = static_cast<ColourRef>(store.getInt(section, str::kEntryKeywords, int(kDefaults[2])));
    m_clrStrings = static_cast<ColourRef>(store.getInt(section, str::kEntryStrings, int(kDefaults[3])));
    m_clrComments = static_cast<ColourRef>(store.getInt(section, str::kEntryComments, int(kDefaults[4])));
    m_clrLabels = static_cast<ColourRef>(store.getInt(section, str::kEntryLabels, int(kDefaults[5])));
}

bool SyntaxColours::write(ProfileStore& store) const
{
    const QString section = str::kSectionColours;
    store.beginBatch();
    store.writeInt(section, str::kEntryRegularText, int(m_clrRegularText));
    store.writeInt(section, str::kEntryCommands, int(m_clrCommands));
    store.writeInt(section, str::kEntryKeywords, int(m_clrKeywords));
    store.writeInt(section, str::kEntryComments, int(m_clrComments));
    store.writeInt(section, str::kEntryStrings, int(m_clrStrings));
    store.writeInt(section, str::kEntryLabels, int(m_clrLabels));
    return store.commitBatch();
}

ColourRef SyntaxColours::forClass(TextClass cls) const
{
    switch (cls) {
    case TextClass::Regular:
        return m_clrRegularText;
    case TextClass::Command:
        return m_clrCommands;
    case TextClass::Keyword:
        return m_clrKeywords;
    case TextClass::String:
        return m_clrStrings;
    case TextClass::Label:
        return m_clrLabels;
    case TextClass::Comment:
        return m_clrComments;
    }
    return m_clrRegularText;
}

ColourRef& SyntaxColours::field(int commandId)
{
    switch (commandId) {
    case ids::ID_COLOUR_COMMANDS:
        return m_clrCommands;
    case ids::ID_COLOUR_KEYWORDS:
        return m_clrKeywords;
    case ids::ID_COLOUR_STRINGS:
        return m_clrStrings;
    case ids::ID_COLOUR_COMMENTS:
        return m_clrComments;
    case ids::ID_COLOUR_LABELS:
        return m_clrLabels;
    default:
        return m_clrRegularText;
    }
}
