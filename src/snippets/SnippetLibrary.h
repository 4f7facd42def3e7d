// The code snippet library: 128 slots of name, description and code, kept in
// the settings section "Code Snippet Library" as nameN, descN and codeN, and
// mirrored here in memory. A slot whose stored name is empty (or missing) is free.
#pragma once

#include <QString>

#include <array>

class ProfileStore;

class SnippetLibrary {
public:
    static constexpr int kSlotCount = 128;
    static constexpr int kNoSlot = -1;

    // The settings entries of a slot: "name" + slot and so on, in decimal.
    static QString nameEntry(int slot);
    static QString descriptionEntry(int slot);
    static QString codeEntry(int slot);

    // Reads all 128 slots from the store, free ones included.
    void load(const ProfileStore& store);

    // The lowest slot whose name in the store is empty, or kNoSlot when the
    // library is full. The store is asked rather than memory, so that a slot
    // freed or taken behind our back is seen as it really is.
    static int findFreeSlot(const ProfileStore& store);

    // Writes the three entries of the slot as one change and sets the slot in
    // memory. False when the store could not be written (memory is set anyway).
    bool store(ProfileStore& store, int slot, const QString& name, const QString& description, const QString& code);

    // Stores a new snippet in the lowest slot that is free in the store at the
    // moment of writing, also when another editor has just taken the one that
    // was free a moment before. The slot, or kNoSlot when the library is full.
    int add(ProfileStore& store, const QString& name, const QString& description, const QString& code);

    // The highest slot whose name in memory is exactly name (case counts), or
    // kNoSlot; an empty name finds nothing.
    int findSlot(const QString& name) const;

    // Deletes the slot's three entries from the store and empties it in memory,
    // so that the name cannot match a list entry any more. The store is left
    // alone when the slot there holds another name by now (another editor
    // reused it).
    void remove(ProfileStore& store, int slot);

    const QString& name(int slot) const { return m_names[slot]; }
    const QString& description(int slot) const { return m_descriptions[slot]; }
    const QString& code(int slot) const { return m_codes[slot]; }

private:
    std::array<QString, kSlotCount> m_names;
    std::array<QString, kSlotCount> m_descriptions;
    std::array<QString, kSlotCount> m_codes;
};
