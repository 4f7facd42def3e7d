// Works out the colour class of every character that a highlight of a range
// paints: regular text, then command and keyword words, strings, labels and
// comments, each class painting over the ones before it.
//
// The classes come out of one forward scan of the range, line by line. A
// string may reach past the end of the range up to its closing quote, a
// comment up to the end of its line, and a label back to the start of its
// line; those stretches are part of the result too.
#pragma once

#include "editor/ScriptVocabulary.h"

#include <QStringView>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

enum class TextClass : std::uint8_t { Regular = 0, Command, Keyword, String, Label, Comment };
inline constexpr int kTextClassCount = 6;

class HighlightEngine {
public:
    static constexpr std::uint8_t kUnpainted = 0xFF;

    // The words of the non-empty slots of both tables. A word in both tables
    // is a keyword: the keyword pass runs after the command pass.
    HighlightEngine(const ScriptVocabulary::Table& commandWords, const ScriptVocabulary::Table& keywordWords);
    // An engine with the built-in word lists.
    HighlightEngine();

    struct Result {
        qsizetype begin = 0;                // text position of classes[0]
        std::vector<std::uint8_t> classes;  // a TextClass, or kUnpainted where nothing painted
        qsizetype paintedBegin = 0;         // the painted stretch, [paintedBegin, paintedEnd)
        qsizetype paintedEnd = 0;
    };

    // Highlights [rs, re) of text; re of -1 means the end of the text. Line
    // breaks are "\n". The neighbours of a word are looked at in the whole
    // text, also outside the range.
    Result highlight(QStringView text, qsizetype rs, qsizetype re) const;

    // The label a line defines: its first word, after blanks and tabs, when a
    // colon follows it directly. The label pass colours a line from its start
    // up to its last colon, and no comment mark can come before that first
    // colon, so such a word is always coloured as a label. Returns the word,
    // empty when the line defines none; column receives its position.
    static QStringView lineLabel(QStringView line, qsizetype* column = nullptr);

    // The class the word passes give a whole word on its own: Command,
    // Keyword, or Regular when it is in neither table.
    TextClass classOfWord(QStringView word) const;

    // Whole-word rule: letters, digits and "_" continue a word.
    static bool isWordChar(QChar c)
    {
        const char16_t u = c.unicode();
        if (u < 0x80)
            return kAsciiWordChars[u];
        return c.isLetterOrNumber();
    }

private:
    class Scan;  // one call's walk over the range

    static constexpr std::array<bool, 128> kAsciiWordChars = [] {
        std::array<bool, 128> t{};
        for (int c = 0; c < 128; ++c)
            t[std::size_t(c)] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        return t;
    }();

    // Plain words (letters, digits, "_") in an open-addressing table keyed by
    // a hash that the scan computes as it walks a run, so a run is looked up
    // without being copied.
    struct WordSlot {
        const char* word = nullptr;
        std::uint32_t hash = 0;
        std::uint32_t length = 0;
        TextClass cls = TextClass::Regular;
    };
    static std::uint32_t hashStep(std::uint32_t h, char16_t c) { return (h ^ c) * 16777619u; }
    static constexpr std::uint32_t kHashSeed = 2166136261u;

    void addWords(const ScriptVocabulary::Table& table, TextClass cls);
    void addPlainWord(std::string_view word, TextClass cls);
    // The class of a run of ASCII word characters with the given hash;
    // Regular when it is no word.
    TextClass wordClass(QStringView run, std::uint32_t hash) const;

    std::vector<WordSlot> m_words;
    std::uint32_t m_mask = 0;
    std::array<bool, 128> m_wordFirst{};  // first characters of the plain words
    // Words with a character that does not continue a word ("#INCLUDE"):
    // compared where they stand, not looked up as a run.
    std::vector<std::pair<std::string_view, TextClass>> m_markWords;
    std::array<bool, 128> m_markFirst{};  // first characters of those words
    std::size_t m_longestWord = 0;
};
