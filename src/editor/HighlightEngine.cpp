#include "editor/HighlightEngine.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct BuiltInTables {
    ScriptVocabulary::Table commands;
    ScriptVocabulary::Table keywords;
    BuiltInTables() { ScriptVocabulary::fill(commands, keywords); }
};

const BuiltInTables& builtIn()
{
    static const BuiltInTables tables;
    return tables;
}

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
    addWords(commandWords, TextClass::Command);
    addWords(keywordWords, TextClass::Keyword);
}

HighlightEngine::HighlightEngine() : HighlightEngine(builtIn().commands, builtIn().keywords) {}

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
            auto it = std::find_if(m_markWords.begin(), m_markWords.end(),
                                   [&](const auto& p) { return p.first == word; });
            if (it == m_markWords.end())
                m_markWords.emplace_back(word, cls);
            else
                it->second = std::max(it->second, cls);
            continue;
        }
        auto [it, inserted] = m_words.try_emplace(word, cls);
        if (!inserted)
            it->second = std::max(it->second, cls);
    }
}

TextClass HighlightEngine::wordClass(QStringView run) const
{
    if (run.size() < 1 || static_cast<std::size_t>(run.size()) > m_longestWord)
        return TextClass::Regular;
    char buffer[64];
    std::string longRun;
    char* key = buffer;
    if (static_cast<std::size_t>(run.size()) > sizeof buffer) {
        longRun.resize(static_cast<std::size_t>(run.size()));
        key = longRun.data();
    }
    for (qsizetype i = 0; i < run.size(); ++i) {
        const char16_t u = run[i].unicode();
        if (u >= 0x80)
            return TextClass::Regular;
        key[i] = static_cast<char>(u);
    }
    const auto it = m_words.find(std::string_view(key, static_cast<std::size_t>(run.size())));
    return it == m_words.end() ? TextClass::Regular : it->second;
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

    for (qsizetype ls = first; ls < re;) {
        const qsizetype lineNext = nextLineStart(ls);
        const qsizetype a = std::max(rs, ls);
        const qsizetype b = std::min(re, lineNext);  // [a, b): this line's part of the range

        paint(a, b, TextClass::Regular);

        // Words: whole runs of word characters that lie inside the range,
        // and the words with other characters ("#INCLUDE") where they stand
        // after a character that does not continue a word.
        for (qsizetype i = a; i < b;) {
            if (!m_markWords.empty() && (i == 0 || !isWordChar(text[i - 1]))) {
                for (const auto& [word, cls] : m_markWords) {
                    const auto len = static_cast<qsizetype>(word.size());
                    if (i + len <= b && sameAscii(text.sliced(i, len), word) &&
                        (i + len == n || !isWordChar(text[i + len])))
                        paintWord(i, i + len, cls);
                }
            }
            if (isWordChar(text[i])) {
                qsizetype j = i + 1;
                while (j < n && isWordChar(text[j]))
                    ++j;
                const bool wholeBefore = i == 0 || !isWordChar(text[i - 1]);
                if (wholeBefore && j <= b) {
                    const TextClass cls = wordClass(text.sliced(i, j - i));
                    if (cls != TextClass::Regular)
                        paintWord(i, j, cls);
                }
                i = j;
                continue;
            }
            ++i;
        }

        // Strings: an opening quote in the range, its closing quote on the
        // same line (possibly past the range). The character after a closing
        // quote is never an opening quote.
        while (stringFrom < b) {
            const qsizetype from = std::max(stringFrom, a);
            const qsizetype q = text.sliced(from, b - from).indexOf(quote);
            if (q < 0) {
                stringFrom = b;
                break;
            }
            const qsizetype open = from + q;
            const qsizetype close = text.sliced(open + 1, lineNext - open - 1).indexOf(quote);
            if (close >= 0) {
                paint(open + 1, open + 1 + close, TextClass::String);
                stringFrom = open + 1 + close + 2;
            } else {
                stringFrom = open + 1;
            }
        }

        // Labels: every colon paints its line from the line start up to
        // itself, so the last colon of the line decides.
        const QStringView part = text.sliced(a, b - a);
        const qsizetype colon = part.lastIndexOf(QLatin1Char(':'));
        if (colon >= 0)
            paint(ls, a + colon, TextClass::Label);

        // Comments: from the first ";" or "//" to the start of the next line.
        qsizetype comment = part.indexOf(QLatin1Char(';'));
        const qsizetype slashes = part.indexOf(QLatin1String("//"));
        if (slashes >= 0 && (comment < 0 || slashes < comment))
            comment = slashes;
        if (comment >= 0)
            paint(a + comment, lineNext, TextClass::Comment);

        ls = lineNext;
    }

    result.paintedBegin = paintedBegin;
    result.paintedEnd = paintedEnd;
    return result;
}
