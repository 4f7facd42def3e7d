// The words of the game's script language that the editor colours: command
// words and keyword words, each table 512 slots, unused slots empty (null).
#pragma once

#include <array>

namespace ScriptVocabulary {

inline constexpr int kTableSize = 512;
using Table = std::array<const char*, kTableSize>;

// Clears both tables and fills them from the built-in lists.
void fill(Table& commandWords, Table& keywordWords);

// Both tables filled once, for those that only read them.
struct Tables {
    Table commands{};
    Table keywords{};
};
const Tables& builtIn();

}  // namespace ScriptVocabulary
