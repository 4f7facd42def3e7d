#include "editor/HighlightEngine.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace {

bool sameAscii(QStringView text, std::string_view word)
{
    if (text.size() != static_cast<qsizetype>(word.size()))
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (text[static_cast<qsizetype>(i)].unicode() != static_cast<unsigned char>(word[i]))
            return false;
    }
    return true;
}

}  // namespace

HighlightEngine::HighlightEngine(const ScriptVocabulary::Table& commandWords,
                                 const ScriptVocabulary::Table& keywordWords)
{
    // At most a quarter full, so probes stay short.
    std::size_t words = 0;
    for (const char* w : commandWords)
        words += w && *w;
    for (const char* w : keywordWords)
        words += w && *w;
    std::size_t size = 64;
    while (size < words * 4)
        size *= 2;
    m_words.assign(size, WordSlot{});
    m_mask = std::uint32_t(size - 1);

    addWords(commandWords, TextClass::Command);
    addWords(keywordWords, TextClass::Keyword);
}

HighlightEngine::HighlightEngine()
    : HighlightEngine(ScriptVocabulary::builtIn().commands, ScriptVocabulary::builtIn().keywords)
{
}

void HighlightEngine::addWords(const ScriptVocabulary::Table& table, TextClass cls)
{
    for (const char* w : table) {
        if (!w || !*w)
            continue;
        const std::string_view word(w);
        m_longestWord = std::max(m_longestWord, word.size());
        const bool plain = std::all_of(word.begin(), word.end(), [](char ch) {
            return isWordChar(QChar(static_cast<char16_t>(static_cast<unsigned char>(ch))));
        });
        if (!plain) {
            auto it =
                std::find_if(m_markWords.begin(), m_markWords.end(), [&](const auto& p) { return p.first == word; });
            if (it == m_markWords.end())
                m_markWords.emplace_back(word, cls);
            else
                it->second = std::max(it->second, cls);
            if (static_cast<unsigned char>(word[0]) < 0x80)
                m_markFirst[static_cast<unsigned char>(word[0])] = true;
            continue;
        }
        addPlainWord(word, cls);
    }
}

void HighlightEngine::addPlainWord(std::string_view word, TextClass cls)
{
    std::uint32_t h = kHashSeed;
    for (char ch : word)
        h = hashStep(h, char16_t(static_cast<unsigned char>(ch)));
    for (std::uint32_t i = h & m_mask;; i = (i + 1) & m_mask) {
        WordSlot& slot = m_words[i];
        if (!slot.word) {
            slot = WordSlot{word.data(), h, std::uint32_t(word.size()), cls};
            m_wordFirst[static_cast<unsigned char>(word[0]) & 0x7F] = true;
            return;
        }
        if (slot.length == word.size() && std::string_view(slot.word, slot.length) == word) {
            slot.cls = std::max(slot.cls, cls);
            return;
        }
    }
}

// Called for nearly every run of the text: kept inline in the scan.
[[gnu::always_inline]] inline TextClass HighlightEngine::wordClass(QStringView run, std::uint32_t hash) const
{
    for (std::uint32_t i = hash & m_mask;; i = (i + 1) & m_mask) {
        const WordSlot& slot = m_words[i];
        if (!slot.word)
            return TextClass::Regular;
        if (slot.hash == hash && qsizetype(slot.length) == run.size() &&
            sameAscii(run, std::string_view(slot.word, slot.length)))
            return slot.cls;
    }
}

QStringView HighlightEngine::lineLabel(QStringView line, qsizetype* column)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
        ++i;
    qsizetype j = i;
    while (j < line.size() && isWordChar(line[j]))
        ++j;
    if (j == i || j == line.size() || line[j] != QLatin1Char(':'))
        return {};
    if (column)
        *column = i;
    return line.sliced(i, j - i);
}

TextClass HighlightEngine::classOfWord(QStringView word) const
{
    if (word.isEmpty() || std::size_t(word.size()) > m_longestWord)
        return TextClass::Regular;
    std::uint32_t h = kHashSeed;
    for (QChar c : word) {
        if (c.unicode() >= 0x80 || !kAsciiWordChars[c.unicode()])
            return TextClass::Regular;
        h = hashStep(h, c.unicode());
    }
    return wordClass(word, h);
}

// One highlight call: the range, the result being filled, and what the walk
// over the current line noted for the passes that paint over its words.
class HighlightEngine::Scan {
public:
    Scan(const HighlightEngine& engine, QStringView text, qsizetype rs, qsizetype re)
        : m_engine(engine), m_text(text), m_rs(rs), m_re(re), m_stringFrom(rs)
    {
    }

    Result run();

private:
    qsizetype lineStartOf(qsizetype pos) const
    {
        return pos > 0 ? m_text.lastIndexOf(QLatin1Char('\n'), pos - 1) + 1 : 0;
    }
    // After the "\n" of pos's line, or the end of the text.
    qsizetype nextLineStart(qsizetype pos) const
    {
        const qsizetype i = m_text.indexOf(QLatin1Char('\n'), pos);
        return i < 0 ? m_text.size() : i + 1;
    }

    void paint(qsizetype from, qsizetype to, TextClass cls);
    void paintWord(qsizetype from, qsizetype to, TextClass cls);
    qsizetype walkLine(qsizetype i);
    qsizetype walkRun(qsizetype i);
    void paintMarkWordsAt(qsizetype i);
    void paintStrings(qsizetype a, qsizetype b, qsizetype lineNext);

    const HighlightEngine& m_engine;
    const QStringView m_text;
    const qsizetype m_rs;
    const qsizetype m_re;
    qsizetype m_first = 0;  // text position of the first class in m_result
    Result m_result;
    qsizetype m_stringFrom;  // where the next opening quote is looked for
    // Noted by the walk over one line's part of the range.
    qsizetype m_lastColon = -1;
    qsizetype m_firstComment = -1;
    std::vector<qsizetype> m_quotes;
};

HighlightEngine::Result HighlightEngine::highlight(QStringView text, qsizetype rs, qsizetype re) const
{
    const qsizetype n = text.size();
    if (re < 0 || re > n)
        re = n;
    rs = std::clamp<qsizetype>(rs, 0, n);
    if (rs >= re) {
        // An empty range finds nothing and paints nothing.
        Result result;
        result.begin = result.paintedBegin = result.paintedEnd = rs;
        return result;
    }
    return Scan(*this, text, rs, re).run();
}

HighlightEngine::Result HighlightEngine::Scan::run()
{
    m_first = lineStartOf(m_rs);
    m_result.begin = m_first;
    m_result.classes.assign(static_cast<std::size_t>(nextLineStart(m_re - 1) - m_first), kUnpainted);
    m_result.paintedBegin = m_rs;
    m_result.paintedEnd = m_re;

    // Every character of the range starts as regular text.
    paint(m_rs, m_re, TextClass::Regular);

    for (qsizetype ls = m_first; ls < m_re;) {
        // One walk over the line's part of the range colours its words and
        // notes the marks of strings, labels and comments; those are painted
        // after it, in that order, each over what came before.
        const qsizetype a = std::max(m_rs, ls);
        const qsizetype i = walkLine(a);
        // The walk stopped at the line break, the end of the text, or the
        // end of the range inside the line.
        const qsizetype n = m_text.size();
        const qsizetype lineNext = i < n && m_text[i] == QLatin1Char('\n') ? i + 1 : i == n ? n : nextLineStart(i);
        paintStrings(a, std::min(m_re, lineNext), lineNext);

        // Labels: every colon paints its line from the line start up to
        // itself, so the last colon of the line decides.
        if (m_lastColon >= 0)
            paint(ls, m_lastColon, TextClass::Label);
        // Comments: from the first ";" or "//" to the start of the next line.
        if (m_firstComment >= 0)
            paint(m_firstComment, lineNext, TextClass::Comment);
        ls = lineNext;
    }

    return std::move(m_result);
}

inline void HighlightEngine::Scan::paint(qsizetype from, qsizetype to, TextClass cls)
{
    if (from >= to)
        return;
    std::memset(m_result.classes.data() + (from - m_first), static_cast<int>(cls), static_cast<std::size_t>(to - from));
    m_result.paintedBegin = std::min(m_result.paintedBegin, from);
    m_result.paintedEnd = std::max(m_result.paintedEnd, to);
}

// Words may overlap ("#AB" and "AB" in tables of other words). The keyword
// pass runs after the command pass, so a keyword wins on every character it
// covers, whichever is met first here. The stretch already holds Regular,
// below both.
inline void HighlightEngine::Scan::paintWord(qsizetype from, qsizetype to, TextClass cls)
{
    std::uint8_t* c = m_result.classes.data() + (from - m_first);
    for (qsizetype k = 0; k < to - from; ++k)
        c[k] = std::max(c[k], static_cast<std::uint8_t>(cls));
}

// Walks [i, end of the range) up to the line break; returns where it stopped.
qsizetype HighlightEngine::Scan::walkLine(qsizetype i)
{
    const QStringView text = m_text;
    const qsizetype re = m_re;
    const auto& markFirst = m_engine.m_markFirst;
    qsizetype lastColon = -1;
    qsizetype firstComment = -1;
    m_quotes.clear();
    while (i < re) {
        const char16_t u = text[i].unicode();
        if (u == '\n')
            break;
        if (u < 0x80 && markFirst[u] && (i == 0 || !isWordChar(text[i - 1])))
            paintMarkWordsAt(i);
        if (u < 0x80 ? kAsciiWordChars[u] : QChar(u).isLetterOrNumber()) {
            i = walkRun(i);
            continue;
        }
        switch (u) {
        case ':':
            lastColon = i;
            break;
        case ';':
            if (firstComment < 0)
                firstComment = i;
            break;
        case '/':
            if (firstComment < 0 && i + 1 < re && text[i + 1] == QLatin1Char('/'))
                firstComment = i;
            break;
        case '"':
            m_quotes.push_back(i);
            break;
        default:
            break;
        }
        ++i;
    }
    m_lastColon = lastColon;
    m_firstComment = firstComment;
    return i;
}

// A run of word characters from i: a word only when it is whole, lies inside
// the range, and is in a table. Runs that no word can start are only walked
// over. Returns the end of the run.
[[gnu::always_inline]] inline qsizetype HighlightEngine::Scan::walkRun(qsizetype i)
{
    const QStringView text = m_text;
    const qsizetype n = text.size();
    const char16_t u = text[i].unicode();
    qsizetype j = i + 1;
    if (u >= 0x80 || !m_engine.m_wordFirst[u]) {
        while (j < n && isWordChar(text[j]))
            ++j;
        return j;
    }
    std::uint32_t h = hashStep(kHashSeed, u);
    bool ascii = true;
    for (; j < n; ++j) {
        const char16_t c = text[j].unicode();
        if (c < 0x80) {
            if (!kAsciiWordChars[c])
                break;
        } else if (!QChar(c).isLetterOrNumber()) {
            break;
        } else {
            ascii = false;
        }
        h = hashStep(h, c);
    }
    const bool wholeBefore = i == 0 || !isWordChar(text[i - 1]);
    if (wholeBefore && j <= m_re && ascii && std::size_t(j - i) <= m_engine.m_longestWord) {
        const TextClass cls = m_engine.wordClass(text.sliced(i, j - i), h);
        if (cls != TextClass::Regular)
            paintWord(i, j, cls);
    }
    return j;
}

// Words with a character that does not continue a word ("#INCLUDE") are
// compared where they may start.
void HighlightEngine::Scan::paintMarkWordsAt(qsizetype i)
{
    const qsizetype n = m_text.size();
    for (const auto& [mark, cls] : m_engine.m_markWords) {
        const auto len = static_cast<qsizetype>(mark.size());
        if (i + len <= m_re && sameAscii(m_text.sliced(i, len), mark) && (i + len == n || !isWordChar(m_text[i + len])))
            paintWord(i, i + len, cls);
    }
}

// Strings of the line's part [a, b) of the range: an opening quote in it, its
// closing quote on the same line (possibly past the range, up to lineNext).
// The character after a closing quote is never an opening quote.
void HighlightEngine::Scan::paintStrings(qsizetype a, qsizetype b, qsizetype lineNext)
{
    std::size_t qi = 0;
    while (m_stringFrom < b) {
        const qsizetype from = std::max(m_stringFrom, a);
        while (qi < m_quotes.size() && m_quotes[qi] < from)
            ++qi;
        if (qi == m_quotes.size()) {
            m_stringFrom = b;
            return;
        }
        const qsizetype open = m_quotes[qi];
        qsizetype close = -1;
        if (qi + 1 < m_quotes.size()) {
            close = m_quotes[qi + 1];
        } else if (b < lineNext) {
            const qsizetype k = m_text.sliced(b, lineNext - b).indexOf(QLatin1Char('"'));
            close = k < 0 ? -1 : b + k;
        }
        if (close >= 0) {
            paint(open + 1, close, TextClass::String);
            m_stringFrom = close + 2;
        } else {
            m_stringFrom = open + 1;
        }
    }
}
