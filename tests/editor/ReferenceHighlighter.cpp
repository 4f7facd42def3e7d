#include "ReferenceHighlighter.h"

#include <algorithm>

namespace {

// Letters, digits and "_" continue a word; everything else ends one.
bool continuesWord(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

std::vector<QString> wordsOf(const ScriptVocabulary::Table& table)
{
    std::vector<QString> words;
    for (const char* w : table) {
        if (w && *w)
            words.push_back(QString::fromLatin1(w));
    }
    return words;
}

// The editing control as the passes see it: the text, one class per
// character, and a selection that a colour is applied to. Lines are known by
// their starts, found from a position as the control finds them from its
// line table, without building one for every call.
class Control {
public:
    Control(QStringView text, std::vector<std::uint8_t>& classes, std::vector<std::uint8_t>* painted)
        : m_text(text), m_classes(classes), m_painted(painted)
    {
    }

    // The line start of pos's line.
    qsizetype lineStart(qsizetype pos) const
    {
        return pos > 0 ? m_text.lastIndexOf(QLatin1Char('\n'), pos - 1) + 1 : 0;
    }

    // The line start of the line after pos's line; -1 when that is the last.
    qsizetype nextLineStart(qsizetype pos) const
    {
        const qsizetype i = m_text.indexOf(QLatin1Char('\n'), pos);
        return i < 0 ? -1 : i + 1;
    }

    // An end of -1 selects to the end of the text.
    void setSel(qsizetype start, qsizetype end)
    {
        const qsizetype n = m_text.size();
        if (end < 0 || end > n)
            end = n;
        m_selStart = std::clamp<qsizetype>(start, 0, n);
        m_selEnd = std::max(m_selStart, end);
    }

    void applyClass(TextClass cls)
    {
        for (qsizetype i = m_selStart; i < m_selEnd; ++i) {
            m_classes[std::size_t(i)] = std::uint8_t(cls);
            if (m_painted)
                (*m_painted)[std::size_t(i)] = 1;
        }
    }

    qsizetype find(QStringView what, qsizetype start, qsizetype end, bool wholeWord) const
    {
        return ReferenceHighlighter::find(m_text, what, start, end, true, wholeWord);
    }

private:
    QStringView m_text;
    std::vector<std::uint8_t>& m_classes;
    std::vector<std::uint8_t>* m_painted;
    qsizetype m_selStart = 0;
    qsizetype m_selEnd = 0;
};

void wordPass(Control& control, const std::vector<QString>& words, qsizetype rs, qsizetype re, TextClass cls)
{
    for (const QString& word : words) {
        for (qsizetype a = control.find(word, rs, re, true); a >= 0; a = control.find(word, a + 1, re, true)) {
            control.setSel(a, a + word.size());
            control.applyClass(cls);
        }
    }
}

// Every occurrence of mark in the range colours from itself to the start of
// the next line, its line break included.
void commentPass(Control& control, QStringView mark, qsizetype rs, qsizetype re)
{
    for (qsizetype c = control.find(mark, rs, re, false); c >= 0; c = control.find(mark, c + 1, re, false)) {
        control.setSel(c, control.nextLineStart(c));
        control.applyClass(TextClass::Comment);
    }
}

}  // namespace

ReferenceHighlighter::ReferenceHighlighter(const ScriptVocabulary::Table& commandWords,
                                           const ScriptVocabulary::Table& keywordWords)
    : m_commandWords(wordsOf(commandWords)), m_keywordWords(wordsOf(keywordWords))
{
}

ReferenceHighlighter::ReferenceHighlighter()
    : ReferenceHighlighter(ScriptVocabulary::builtIn().commands, ScriptVocabulary::builtIn().keywords)
{
}

qsizetype ReferenceHighlighter::find(QStringView text, QStringView what, qsizetype start, qsizetype end, bool matchCase,
                                     bool wholeWord)
{
    const qsizetype n = text.size();
    if (end < 0 || end > n)
        end = n;
    start = std::max<qsizetype>(start, 0);
    if (what.isEmpty() || start >= end)
        return -1;
    // Searching only the text before end keeps every hit wholly inside the range.
    const QStringView hay = text.first(end);
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype p = hay.indexOf(what, start, cs); p >= 0; p = hay.indexOf(what, p + 1, cs)) {
        if (!wholeWord)
            return p;
        const qsizetype after = p + what.size();
        const bool freeBefore = p == 0 || !continuesWord(text[p - 1]);
        const bool freeAfter = after == n || !continuesWord(text[after]);
        if (freeBefore && freeAfter)
            return p;
    }
    return -1;
}

void ReferenceHighlighter::highlight(QStringView text, qsizetype rs, qsizetype re, std::vector<std::uint8_t>& classes,
                                     std::vector<std::uint8_t>* painted) const
{
    classes.resize(std::size_t(text.size()), std::uint8_t(TextClass::Regular));
    if (painted)
        painted->assign(std::size_t(text.size()), 0);
    Control control(text, classes, painted);
    const QStringView quote = u"\"";

    // Base format over the range.
    control.setSel(rs, re);
    control.applyClass(TextClass::Regular);

    wordPass(control, m_commandWords, rs, re, TextClass::Command);
    wordPass(control, m_keywordWords, rs, re, TextClass::Keyword);

    // Strings: the closing quote is looked for on the opening quote's line
    // only, also past re; the character after a closing quote is skipped.
    for (qsizetype q = control.find(quote, rs, re, false); q >= 0;) {
        const qsizetype lineEnd = control.nextLineStart(q);
        const qsizetype c = control.find(quote, q + 1, lineEnd, false);
        if (c >= 0) {
            control.setSel(q + 1, c);
            control.applyClass(TextClass::String);
            q = control.find(quote, c + 2, re, false);
        } else {
            q = control.find(quote, q + 1, re, false);
        }
    }

    // Labels: every colon colours its line from the line start up to itself.
    for (qsizetype c = control.find(u":", rs, re, false); c >= 0; c = control.find(u":", c + 1, re, false)) {
        control.setSel(control.lineStart(c), c);
        control.applyClass(TextClass::Label);
    }

    commentPass(control, u";", rs, re);
    commentPass(control, u"//", rs, re);
}

QString classMarker(TextClass cls)
{
    static const char* const kMarkers[] = {"{R}", "{C}", "{K}", "{S}", "{L}", "{M}"};
    const auto i = std::size_t(cls);
    // Characters no pass painted (kUnpainted) show as {-}.
    return QLatin1String(i < std::size(kMarkers) ? kMarkers[i] : "{-}");
}

QString styledText(QStringView text, const std::vector<std::uint8_t>& classes)
{
    QString out;
    out.reserve(text.size() + text.size() / 4);
    const auto classAt = [&](qsizetype i) -> int {
        return i < qsizetype(classes.size()) ? classes[std::size_t(i)] : -1;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == 0 || classAt(i) != classAt(i - 1))
            out += classMarker(TextClass(std::uint8_t(classAt(i))));
        out += text[i];
    }
    return out;
}
