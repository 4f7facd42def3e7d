// The highlighter's passes done the slow, literal way: the editing control's
// operations (its forward find, colouring a selection, line starts) on a text
// and a class per character, driven pass by pass, word by word. The tests
// hold the fast engine against it; the benchmark times it.
#pragma once

#include "editor/HighlightEngine.h"
#include "editor/ScriptVocabulary.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

class ReferenceHighlighter {
public:
    ReferenceHighlighter(const ScriptVocabulary::Table& commandWords, const ScriptVocabulary::Table& keywordWords);
    // The built-in word lists.
    ReferenceHighlighter();

    // The control's forward find, case-sensitive: the first occurrence of
    // what that lies wholly inside [start, end) (end -1: the end of the
    // text), or -1. An empty or inverted range finds nothing. With wholeWord
    // the characters just before and just after the occurrence, looked at in
    // the whole text, must be absent or not word characters.
    static qsizetype find(QStringView text, QStringView what, qsizetype start, qsizetype end, bool wholeWord);

    // Runs the passes over [rs, re] (re -1: the end of the text) on classes,
    // one TextClass per character of text, painting over what is there:
    // where classes comes in filled with kUnpainted, that shows what no pass
    // painted.
    void highlight(QStringView text, qsizetype rs, qsizetype re, std::vector<std::uint8_t>& classes) const;

private:
    QStringList m_commandWords;  // the non-empty slots, in slot order
    QStringList m_keywordWords;
};

// The words of a table's non-empty slots, in slot order.
QStringList wordsOf(const ScriptVocabulary::Table& table);

// The text with a marker in front of the first character and at every change
// of class: {R} regular, {C} command, {K} keyword, {S} string, {L} label,
// {M} comment; {-} where a class is not one of these (nothing painted).
QString styledText(QStringView text, const std::vector<std::uint8_t>& classes);
