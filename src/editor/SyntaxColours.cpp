#include "editor/SyntaxColours.h"

#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

namespace {

using S = SyntaxColours;
constexpr S::Row kRows[] = {
    {TextClass::Regular, str::kEntryRegularText, ids::ID_COLOUR_REGULAR_TEXT, &S::m_clrRegularText},
    {TextClass::Command, str::kEntryCommands, ids::ID_COLOUR_COMMANDS, &S::m_clrCommands},
    {TextClass::Keyword, str::kEntryKeywords, ids::ID_COLOUR_KEYWORDS, &S::m_clrKeywords},
    {TextClass::String, str::kEntryStrings, ids::ID_COLOUR_STRINGS, &S::m_clrStrings},
    {TextClass::Comment, str::kEntryComments, ids::ID_COLOUR_COMMENTS, &S::m_clrComments},
    {TextClass::Label, str::kEntryLabels, ids::ID_COLOUR_LABELS, &S::m_clrLabels},
};

}  // namespace

std::span<const SyntaxColours::Row> SyntaxColours::rows() { return kRows; }

const SyntaxColours::Row* SyntaxColours::rowForCommand(int commandId)
{
    for (const Row& r : kRows) {
        if (r.commandId == commandId)
            return &r;
    }
    return nullptr;
}

void SyntaxColours::read(const ProfileStore& store)
{
    for (const Row& r : kRows)
        this->*r.field = ColourRef(store.getInt(str::kSectionColours, r.entry, int(defaultFor(r))));
}

bool SyntaxColours::write(ProfileStore& store, unsigned rowMask) const
{
    store.beginBatch();
    for (const Row& r : kRows) {
        if (rowMask & rowBit(r))
            store.writeInt(str::kSectionColours, r.entry, int(this->*r.field));
    }
    return store.commitBatch();
}

ColourRef SyntaxColours::forClass(TextClass cls) const
{
    for (const Row& r : kRows) {
        if (r.cls == cls)
            return this->*r.field;
    }
    return m_clrRegularText;
}
