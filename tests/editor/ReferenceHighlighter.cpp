#include "ReferenceHighlighter.h"

#include <algorithm>

QStringList wordsOf(const ScriptVocabulary::Table& table)
{
    QStringList words;
    for (const char* w : table) {
        if (w && *w)
            words << QString::fromLatin1(w);
    }
    return words;
}

ReferenceHighlighter::ReferenceHighlighter(const ScriptVocabulary::Table& commandWords,
                                           const ScriptVocabulary::Table& keywordWords)
    : m_commandWords(wordsOf(commandWords)), m_keywordWords(wordsOf(keywordWords))
{
}

ReferenceHighlighter::ReferenceHighlighter()
    : ReferenceHighlighter(ScriptVocabulary::builtIn().commands, ScriptVocabulary::builtIn().keywords)
{
}

qsizetype ReferenceHighlighter::find(QStringView text, QStringView what, qsizetype start, qsizetype end, bool wholeWord)
{
    const qsizetype n = text.size();
    end = end < 0 || end > n ? n : end;
    start = std::max<qsizetype>(start, 0);
    if (what.isEmpty() || start >= end)
        return -1;
    // Letters, digits and "_" continue a word; everything else ends one.
    const auto free = [&](qsizetype i) {
        return i < 0 || i == n || !(text[i].isLetterOrNumber() || text[i] == QLatin1Char('_'));
    };
    // Searching only the text before end keeps every hit wholly inside the range.
    const QStringView hay = text.first(end);
    for (qsizetype p = hay.indexOf(what, start); p >= 0; p = hay.indexOf(what, p + 1)) {
        if (!wholeWord || (free(p - 1) && free(p + what.size())))
            return p;
    }
    return -1;
}

void ReferenceHighlighter::highlight(QStringView text, qsizetype rs, qsizetype re,
                                     std::vector<std::uint8_t>& classes) const
{
    const qsizetype n = text.size();
    classes.resize(std::size_t(n), std::uint8_t(TextClass::Regular));
    const auto find = [&](QStringView what, qsizetype from, qsizetype to, bool wholeWord) {
        return ReferenceHighlighter::find(text, what, from, to, wholeWord);
    };
    // The line start of the line after pos's line; -1 when that is the last.
    const auto nextLineStart = [&](qsizetype pos) {
        const qsizetype i = text.indexOf(QLatin1Char('\n'), pos);
        return i < 0 ? -1 : i + 1;
    };
    // Selects [from, to) (to -1: to the end of the text) and applies cls.
    const auto colour = [&](qsizetype from, qsizetype to, TextClass cls) {
        for (qsizetype i = std::clamp<qsizetype>(from, 0, n); i < (to < 0 ? n : std::min(to, n)); ++i)
            classes[std::size_t(i)] = std::uint8_t(cls);
    };

    colour(rs, re, TextClass::Regular);  // the base format
    for (const auto& [words, cls] :
         {std::pair(&m_commandWords, TextClass::Command), std::pair(&m_keywordWords, TextClass::Keyword)}) {
        for (const QString& word : *words) {
            for (qsizetype a = find(word, rs, re, true); a >= 0; a = find(word, a + 1, re, true))
                colour(a, a + word.size(), cls);
        }
    }
    // Strings: the closing quote is looked for on the opening quote's line
    // only, also past re; the character after a closing quote is skipped.
    for (qsizetype q = find(u"\"", rs, re, false); q >= 0;) {
        const qsizetype c = find(u"\"", q + 1, nextLineStart(q), false);
        if (c >= 0)
            colour(q + 1, c, TextClass::String);
        q = find(u"\"", c >= 0 ? c + 2 : q + 1, re, false);
    }
    // Labels: every colon colours its line from the line start up to itself.
    for (qsizetype c = find(u":", rs, re, false); c >= 0; c = find(u":", c + 1, re, false))
        colour(c > 0 ? text.lastIndexOf(QLatin1Char('\n'), c - 1) + 1 : 0, c, TextClass::Label);
    // Comments: every mark colours from itself to the next line start.
    for (const QStringView mark : {QStringView(u";"), QStringView(u"//")}) {
        for (qsizetype c = find(mark, rs, re, false); c >= 0; c = find(mark, c + 1, re, false))
            colour(c, nextLineStart(c), TextClass::Comment);
    }
}

QString styledText(QStringView text, const std::vector<std::uint8_t>& classes)
{
    static const char* const kMarkers[] = {"{R}", "{C}", "{K}", "{S}", "{L}", "{M}"};
    QString out;
    int previous = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int cls = i < qsizetype(classes.size()) ? classes[std::size_t(i)] : -1;
        if (i == 0 || cls != previous)
            out += QLatin1String(cls >= 0 && cls < int(std::size(kMarkers)) ? kMarkers[cls] : "{-}");
        previous = cls;
        out += text[i];
    }
    return out;
}
