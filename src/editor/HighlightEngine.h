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

#include <cstdint>
#include <string_view>
#include <unordered_map>
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

    // Whole-word rule: letters, digits and "_" continue a word.
    static bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

private:
    void addWords(const ScriptVocabulary::Table& table, TextClass cls);
    TextClass wordClass(QStringView run) const;  // Regular when run is no word

    std::unordered_map<std::string_view, TextClass> m_words;
    // Words with a character that does not continue a word ("#INCLUDE"):
    // compared where they stand, not looked up as a run.
    std::vector<std::pair<std::string_view, TextClass>> m_markWords;
    std::size_t m_longestWord = 0;
};
