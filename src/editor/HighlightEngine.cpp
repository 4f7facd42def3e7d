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

HighlightEngine::Result HighlightEngine::highlight(QStringView text, qsizetype rs, qsizetype re) const
{
    const qsizetype n = text.size();
    if (re < 0 || re > n)
        re = n;
    rs = std::clamp<qsizetype>(rs, 0, n);

    Result result;
    if (rs >= re) {
        // An empty range finds nothing and paints nothing.
        result.begin = result.paintedBegin = result.paintedEnd = rs;
        return result;
    }

    const QChar nl(QLatin1Char('\n'));
    const auto lineStartOf = [&](qsizetype pos) {
        const qsizetype i = pos > 0 ? text.lastIndexOf(nl, pos - 1) : -1;
        return i + 1;
    };
    const auto nextLineStart = [&](qsizetype pos) {  // after the "\n" of pos's line, or n
        const qsizetype i = text.indexOf(nl, pos);
        return i < 0 ? n : i + 1;
    };

    const qsizetype first = lineStartOf(rs);
    const qsizetype last = nextLineStart(re - 1);  // end of the last line touched
    result.begin = first;
    result.classes.assign(static_cast<std::size_t>(last - first), kUnpainted);
    qsizetype paintedBegin = rs;
    qsizetype paintedEnd = re;

    auto paint = [&](qsizetype from, qsizetype to, TextClass cls) {
        if (from >= to)
            return;
        std::memset(result.classes.data() + (from - first), static_cast<int>(cls), static_cast<std::size_t>(to - from));
        paintedBegin = std::min(paintedBegin, from);
        paintedEnd = std::max(paintedEnd, to);
    };
    // Words may overlap ("#AB" and "AB" in tables of other words). The
    // keyword pass runs after the command pass, so a keyword wins on every
    // character it covers, whichever is met first here. The stretch already
    // holds Regular, below both.
    auto paintWord = [&](qsizetype from, qsizetype to, TextClass cls) {
        for (qsizetype k = from; k < to; ++k) {
            auto& c = result.classes[static_cast<std::size_t>(k - first)];
            c = std::max(c, static_cast<std::uint8_t>(cls));
        }
    };

    const QChar quote(QLatin1Char('"'));
    qsizetype stringFrom = rs;  // where the next opening quote is looked for
    std::vector<qsizetype> quotes;

    // Every character of the range starts as regular text.
    paint(rs, re, TextClass::Regular);

    for (qsizetype ls = first; ls < re;) {
        const qsizetype a = std::max(rs, ls);
        // One walk over the line's part: words are coloured as they are met;
        // the marks of strings, labels and comments are noted and painted
        // after it, in that order, each over what came before.
        qsizetype lastColon = -1;
        qsizetype firstComment = -1;
        quotes.clear();
        qsizetype i = a;
        while (i < re) {
            const char16_t u = text[i].unicode();
            if (u == '\n')
                break;
            const bool word = u < 0x80 ? kAsciiWordChars[u] : QChar(u).isLetterOrNumber();
            if (u < 0x80 && m_markFirst[u] && (i == 0 || !isWordChar(text[i - 1]))) {
                // Words with a character that does not continue a word
                // ("#INCLUDE") are compared where they may start.
                for (const auto& [mark, cls] : m_markWords) {
                    const auto len = static_cast<qsizetype>(mark.size());
                    if (i + len <= re && sameAscii(text.sliced(i, len), mark) &&
                        (i + len == n || !isWordChar(text[i + len])))
                        paintWord(i, i + len, cls);
                }
            }
            if (!word) {
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
                    quotes.push_back(i);
                    break;
                default:
                    break;
                }
                ++i;
                continue;
            }
            // A run of word characters: a word only when it is whole, lies
            // inside the range, and is in a table. Runs that no word can
            // start are only walked over.
            qsizetype j = i + 1;
            if (u >= 0x80 || !m_wordFirst[u]) {
                while (j < n && isWordChar(text[j]))
                    ++j;
                i = j;
                continue;
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
            if (wholeBefore && j <= re && ascii && std::size_t(j - i) <= m_longestWord) {
                const TextClass cls = wordClass(text.sliced(i, j - i), h);
                if (cls != TextClass::Regular)
                    paintWord(i, j, cls);
            }
            i = j;
        }
        // The walk stopped at the line break, the end of the text, or the
        // end of the range inside the line.
        const qsizetype lineNext = i < n && text[i] == QLatin1Char('\n') ? i + 1 : i == n ? n : nextLineStart(i);
        const qsizetype b = std::min(re, lineNext);  // [a, b): this line's part of the range

        // Strings: an opening quote in the range, its closing quote on the
        // same line (possibly past the range). The character after a closing
        // quote is never an opening quote.
        std::size_t qi = 0;
        while (stringFrom < b) {
            const qsizetype from = std::max(stringFrom, a);
            while (qi < quotes.size() && quotes[qi] < from)
                ++qi;
            if (qi == quotes.size()) {
                stringFrom = b;
                break;
            }
            const qsizetype open = quotes[qi];
            qsizetype close = -1;
            if (qi + 1 < quotes.size()) {
                close = quotes[qi + 1];
            } else if (b < lineNext) {
                const qsizetype k = text.sliced(b, lineNext - b).indexOf(quote);
                close = k < 0 ? -1 : b + k;
            }
            if (close >= 0) {
                paint(open + 1, close, TextClass::String);
                stringFrom = close + 2;
            } else {
                stringFrom = open + 1;
            }
        }

        // Labels: every colon paints its line from the line start up to
        // itself, so the last colon of the line decides.
        if (lastColon >= 0)
            paint(ls, lastColon, TextClass::Label);

        // Comments: from the first ";" or "//" to the start of the next line.
        if (firstComment >= 0)
            paint(firstComment, lineNext, TextClass::Comment);

        ls = lineNext;
    }

    result.paintedBegin = paintedBegin;
    result.paintedEnd = paintedEnd;
    return result;
}
