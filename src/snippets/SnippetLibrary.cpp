#include "snippets/SnippetLibrary.h"

#include "platform/ProfileStore.h"
#include "resources/strings.h"

namespace {

bool validSlot(int slot) { return slot >= 0 && slot < SnippetLibrary::kSlotCount; }

// A null string would delete the entry; an empty text is written as empty.
QString written(const QString& s) { return s.isNull() ? QStringLiteral("") : s; }

}  // namespace

QString SnippetLibrary::nameEntry(int slot) { return QLatin1String("name") + QString::number(slot); }
QString SnippetLibrary::descriptionEntry(int slot) { return QLatin1String("desc") + QString::number(slot); }
QString SnippetLibrary::codeEntry(int slot) { return QLatin1String("code") + QString::number(slot); }

void SnippetLibrary::load(const ProfileStore& store)
{
    const QString section(str::kSectionSnippets);
    for (int i = 0; i < kSlotCount; ++i) {
        m_names[i] = store.getString(section, nameEntry(i));
        m_descriptions[i] = store.getString(section, descriptionEntry(i));
        m_codes[i] = store.getString(section, codeEntry(i));
    }
}

int SnippetLibrary::findFreeSlot(const ProfileStore& store)
{
    const QString section(str::kSectionSnippets);
    for (int i = 0; i < kSlotCount; ++i) {
        if (store.getString(section, nameEntry(i)).isEmpty())
            return i;
    }
    return kNoSlot;
}

bool SnippetLibrary::store(ProfileStore& store, int slot, const QString& name, const QString& description,
                           const QString& code)
{
    if (!validSlot(slot))
        return false;
    const QString section(str::kSectionSnippets);
    store.beginBatch();
    store.writeString(section, nameEntry(slot), written(name));
    store.writeString(section, descriptionEntry(slot), written(description));
    store.writeString(section, codeEntry(slot), written(code));
    const bool stored = store.commitBatch();
    m_names[slot] = name;
    m_descriptions[slot] = description;
    m_codes[slot] = code;
    return stored;
}

int SnippetLibrary::add(ProfileStore& store, const QString& name, const QString& description, const QString& code)
{
    const QString section(str::kSectionSnippets);
    for (;;) {
        const int slot = findFreeSlot(store);
        if (slot == kNoSlot)
            return kNoSlot;
        store.beginBatch();
        store.writeString(section, nameEntry(slot), written(name));
        store.writeString(section, descriptionEntry(slot), written(description));
        store.writeString(section, codeEntry(slot), written(code));
        const auto stillFree = [&](const ProfileStore& s) { return s.getString(section, nameEntry(slot)).isEmpty(); };
        // Refused: the slot was taken meanwhile; look again.
        if (store.commitBatchIf(stillFree) != ProfileStore::Commit::Refused) {
            m_names[slot] = name;
            m_descriptions[slot] = description;
            m_codes[slot] = code;
            return slot;
        }
    }
}

int SnippetLibrary::findSlot(const QString& name) const
{
    // Free slots have empty names; they are never a snippet to find.
    if (name.isEmpty())
        return kNoSlot;
    for (int i = kSlotCount - 1; i >= 0; --i) {
        if (m_names[i] == name)
            return i;
    }
    return kNoSlot;
}

void SnippetLibrary::remove(ProfileStore& store, int slot)
{
    if (!validSlot(slot))
        return;
    const QString section(str::kSectionSnippets);
    const QString name = m_names[slot];
    store.beginBatch();
    store.writeString(section, nameEntry(slot), QString());
    store.writeString(section, descriptionEntry(slot), QString());
    store.writeString(section, codeEntry(slot), QString());
    store.commitBatchIf([&](const ProfileStore& s) { return s.getString(section, nameEntry(slot)) == name; });
    m_names[slot].clear();
    m_descriptions[slot].clear();
    m_codes[slot].clear();
}
