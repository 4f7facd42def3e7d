#include "editor/ScriptIndex.h"

#include "editor/HighlightEngine.h"
#include "editor/IncludeLine.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"

#include <QFile>

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

const HighlightEngine& engine()
{
    static const HighlightEngine e;
    return e;
}

// The command words that jump to or call a label begin with one of these;
// the vocabulary decides which words are commands at all.
constexpr std::array<QLatin1StringView, 6> kBranchPrefixes = {QLatin1StringView("BRA"),    QLatin1StringView("BEQ"),
                                                              QLatin1StringView("BNE"),    QLatin1StringView("CALL"),
                                                              QLatin1StringView("DECBEQ"), QLatin1StringView("DECBNE")};

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

bool isBranchCommand(QStringView word)
{
    const bool prefixed = std::any_of(kBranchPrefixes.begin(), kBranchPrefixes.end(),
                                      [&](QLatin1StringView p) { return word.startsWith(p); });
    return prefixed && engine().classOfWord(word) == TextClass::Command;
}

qsizetype skipBlanks(QStringView s, qsizetype i)
{
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

qsizetype wordEnd(QStringView s, qsizetype i)
{
    while (i < s.size() && HighlightEngine::isWordChar(s[i]))
        ++i;
    return i;
}

// A comment line after its ";": a rule of dashes, or a "-- Name ----"
// section. Other comment text may title a banner, which the lines around it
// decide (titleOf).
// Returns whether the line is a rule.
bool parseComment(QStringView line, qsizetype afterMark, std::unique_ptr<ScriptIndex::Line>& out)
{
    qsizetype end = line.size();
    while (end > afterMark && line[end - 1].isSpace())
        --end;
    const qsizetype b = skipBlanks(line, afterMark);
    if (b >= end)
        return false;
    const QStringView body = line.sliced(b, end - b);
    const bool allDashes = std::all_of(body.begin(), body.end(), [](QChar c) { return c == QLatin1Char('-'); });
    if (allDashes)
        return body.size() >= 3 && b == afterMark;
    if (!body.startsWith(QLatin1String("--")))
        return false;
    qsizetype s = b;
    while (s < end && line[s] == QLatin1Char('-'))
        ++s;
    qsizetype e = end;
    while (e > s && line[e - 1] == QLatin1Char('-'))
        --e;
    if (end - e < 2)
        return false;
    s = skipBlanks(line, s);
    while (e > s && line[e - 1].isSpace())
        --e;
    if (e > s) {
        out = std::make_unique<ScriptIndex::Line>();
        out->name = {line.sliced(s, e - s).toString(), int(s)};
        out->kind = ScriptIndex::Line::Kind::Section;
    }
    return false;
}

// The title a comment line gives a banner when rules stand above and below
// it: its text after the ";", unless it is a rule or a section itself.
ScriptIndex::Word titleOf(QStringView line)
{
    const qsizetype i = skipBlanks(line, 0);
    if (i == line.size() || line[i] != QLatin1Char(';'))
        return {};
    qsizetype end = line.size();
    while (end > i + 1 && line[end - 1].isSpace())
        --end;
    const qsizetype b = skipBlanks(line, i + 1);
    if (b >= end || line[b] == QLatin1Char('-'))
        return {};
    return {line.sliced(b, end - b).toString(), int(b)};
}

// Entries freed by one thread are reused by it; the blocks stay for the
// thread's life.
struct LinePool {
    std::vector<void*> free;
    std::vector<std::unique_ptr<std::byte[]>> blocks;
};
thread_local LinePool t_linePool;

}  // namespace

void* ScriptIndex::Line::operator new(std::size_t size)
{
    if (size != sizeof(Line))
        return ::operator new(size);
    LinePool& pool = t_linePool;
    if (pool.free.empty()) {
        constexpr std::size_t kPerBlock = 256;
        auto block = std::make_unique_for_overwrite<std::byte[]>(kPerBlock * sizeof(Line));
        for (std::size_t i = kPerBlock; i-- > 0;)
            pool.free.push_back(block.get() + i * sizeof(Line));
        pool.blocks.push_back(std::move(block));
    }
    void* p = pool.free.back();
    pool.free.pop_back();
    return p;
}

void ScriptIndex::Line::operator delete(void* p, std::size_t size)
{
    if (size != sizeof(Line))
        ::operator delete(p);
    else
        t_linePool.free.push_back(p);
}

ScriptIndex::Slot ScriptIndex::parse(QStringView text)
{
    Slot slot;
    std::unique_ptr<Line>& out = slot.line;
    const qsizetype i = skipBlanks(text, 0);
    if (i == text.size())
        return slot;
    auto entry = [&]() -> Line& {
        if (!out)
            out = std::make_unique<Line>();
        return *out;
    };

    // Where the comment passes start colouring (the first ";" or "//",
    // whatever stands around it), and the quotes the string pass pairs.
    qsizetype comment = -1;
    QVarLengthArray<qsizetype, 16> quotes;
    for (qsizetype k = i; k < text.size(); ++k) {
        const char16_t u = text[k].unicode();
        if (u == '"')
            quotes.push_back(k);
        else if (comment < 0 && (u == ';' || (u == '/' && k + 1 < text.size() && text[k + 1] == QLatin1Char('/'))))
            comment = k;
    }
    if (comment < 0)
        comment = text.size();

    // A quote closes on its own line, and the character after a closing
    // quote opens nothing.
    QVarLengthArray<std::pair<qsizetype, qsizetype>, 8> strings;
    for (qsizetype q = 0; q < quotes.size();) {
        if (q + 1 == quotes.size()) {
            if (quotes[q] < comment)
                entry().openQuote = int(quotes[q]);
            break;
        }
        strings.push_back({quotes[q], quotes[q + 1]});
        const qsizetype next = quotes[q + 1] + 2;
        q += 2;
        while (q < quotes.size() && quotes[q] < next)
            ++q;
    }
    const auto inString = [&](qsizetype pos) {
        return std::any_of(strings.begin(), strings.end(),
                           [pos](const auto& st) { return pos > st.first && pos < st.second; });
    };

    if (comment == i) {
        if (text[i] == QLatin1Char(';'))
            slot.rule = parseComment(text, i + 1, out);
        return slot;
    }

    // The include rule is the one Open Included File follows, so that a hint
    // and the command never disagree on which file a line names.
    if (const std::optional<IncludeName> include = includeOnLine(text)) {
        entry().name = {include->name, int(include->start)};
        out->kind = Line::Kind::Include;
        return slot;
    }

    qsizetype at = i;
    qsizetype labelColumn = 0;
    const QStringView label = HighlightEngine::lineLabel(text, &labelColumn);
    if (!label.isEmpty()) {
        entry().label = {label.toString(), int(labelColumn)};
        at = skipBlanks(text, labelColumn + label.size() + 1);
    }

    const qsizetype commandEnd = wordEnd(text, at);
    if (commandEnd == at || at >= comment || !isBranchCommand(text.sliced(at, commandEnd - at)))
        return slot;
    Line& line = entry();
    line.branch = {text.sliced(at, commandEnd - at).toString(), int(at)};
    for (qsizetype k = commandEnd; k < comment;) {
        if (!HighlightEngine::isWordChar(text[k])) {
            ++k;
            continue;
        }
        const qsizetype e = std::min(wordEnd(text, k), comment);
        const QStringView word = text.sliced(k, e - k);
        const bool number = word[0].isDigit();
        if (!number && !inString(k) && engine().classOfWord(word) != TextClass::Keyword)
            line.uses.push_back({word.toString(), int(k)});
        k = e;
    }
    return slot;
}

void ScriptIndex::reset(QStringView text)
{
    m_lines.clear();
    m_rules.clear();
    m_lines.reserve(std::size_t(text.size() / 32 + 1));
    for (qsizetype from = 0;;) {
        const qsizetype nl = text.indexOf(QLatin1Char('\n'), from);
        appendLine(text.sliced(from, (nl < 0 ? text.size() : nl) - from));
        if (nl < 0)
            break;
        from = nl + 1;
    }
}

void ScriptIndex::appendLine(QStringView line)
{
    Slot slot = parse(line);
    m_lines.push_back(std::move(slot.line));
    m_rules.push_back(slot.rule);
    const int n = lineCount() - 1;
    // A rule closes a banner when a rule stands two lines up.
    if (slot.rule && isRule(n - 2) && !isRule(n - 1))
        settleBanners(m_lastLine, n - 1, n - 1, 0);
    // Only a line after a rule may become a title: keep its text (in the
    // same storage each time) until the next line decides.
    m_lastLine.resize(0);
    if (isRule(n - 1) && !isRule(n))
        m_lastLine.append(line);
}

QString ScriptIndex::readFile(const QString& path)
{
    QFile file;
    if (const QString error = textcodec::openScriptFile(file, path); !error.isEmpty())
        return error;
    m_lines.clear();
    m_rules.clear();
    m_lastLine.clear();
    m_lines.reserve(std::size_t(file.size() / 32 + 1));
    return readRest(file);
}

QString ScriptIndex::readRest(QFile& file)
{
    // A block at a time, as the export reads: a long script is never held
    // whole, neither as bytes nor as text.
    QString partial;  // the start of a line that a block cut
    const QString error = textcodec::readDecoded(file, [this, &partial](QStringView text) {
        qsizetype from = 0;
        for (qsizetype nl = text.indexOf(QLatin1Char('\n')); nl >= 0; nl = text.indexOf(QLatin1Char('\n'), from)) {
            if (partial.isEmpty()) {
                appendLine(text.sliced(from, nl - from));
            } else {
                partial.append(text.sliced(from, nl - from));
                appendLine(partial);
                partial.resize(0);
            }
            from = nl + 1;
        }
        partial.append(text.sliced(from));
    });
    if (!error.isEmpty())
        return error;
    appendLine(partial);
    return {};
}

void ScriptIndex::replaceLines(QStringView text, int first, int removed, qsizetype from, qsizetype to)
{
    first = std::clamp(first, 0, lineCount());
    removed = std::clamp(removed, 0, lineCount() - first);
    std::vector<std::unique_ptr<Line>> parsed;
    std::vector<bool> rules;
    for (qsizetype at = from;;) {
        const qsizetype nl = text.indexOf(QLatin1Char('\n'), at);
        const qsizetype end = nl < 0 || nl > to ? to : nl;
        Slot slot = parse(text.sliced(at, end - at));
        parsed.push_back(std::move(slot.line));
        rules.push_back(slot.rule);
        if (end == to)
            break;
        at = end + 1;
    }
    const int added = int(parsed.size());
    // A keystroke replaces one line by one: no entry moves.
    const std::size_t common = std::min(std::size_t(removed), parsed.size());
    const auto begin = m_lines.begin() + first;
    const auto rulesBegin = m_rules.begin() + first;
    std::move(parsed.begin(), parsed.begin() + qsizetype(common), begin);
    std::copy(rules.begin(), rules.begin() + qsizetype(common), rulesBegin);
    if (parsed.size() > common) {
        m_lines.insert(begin + qsizetype(common), std::make_move_iterator(parsed.begin() + qsizetype(common)),
                       std::make_move_iterator(parsed.end()));
        m_rules.insert(rulesBegin + qsizetype(common), rules.begin() + qsizetype(common), rules.end());
    } else if (std::size_t(removed) > common) {
        m_lines.erase(begin + qsizetype(common), begin + removed);
        m_rules.erase(rulesBegin + qsizetype(common), rulesBegin + removed);
    }

    // The lines next to the edit may have become, or stopped being, titles.
    if (first > 0)
        settleBanners(text, first - 1, first + added, from > 0 ? text.lastIndexOf(QLatin1Char('\n'), from - 2) + 1 : 0);
    else
        settleBanners(text, 0, added, 0);
}

void ScriptIndex::settleBanners(QStringView text, int first, int last, qsizetype firstStart)
{
    last = std::min(last, lineCount() - 1);
    qsizetype start = firstStart;
    for (int n = first; n <= last; ++n) {
        const qsizetype nl = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = nl < 0 ? text.size() : nl;
        std::unique_ptr<Line>& entry = m_lines[std::size_t(n)];
        Word title;
        if (isRule(n - 1) && isRule(n + 1) && !isRule(n))
            title = titleOf(text.sliced(start, end - start));
        if (!title.isEmpty()) {
            if (!entry)
                entry = std::make_unique<Line>();
            entry->name = std::move(title);
            entry->kind = Line::Kind::Title;
        } else if (entry && entry->kind == Line::Kind::Title) {
            entry->name = {};
            entry->kind = Line::Kind::None;
            if (*entry == Line{})
                entry.reset();
        }
        start = end + 1;
    }
}

std::vector<ScriptIndex::Section> ScriptIndex::sections() const
{
    std::vector<Section> out;
    for (int n = 0; n < lineCount(); ++n) {
        const Line* l = m_lines[std::size_t(n)].get();
        if (l && (l->kind == Line::Kind::Section || l->kind == Line::Kind::Title))
            out.push_back({n, l->name});
    }
    return out;
}

std::vector<int> ScriptIndex::definitions(QStringView label) const
{
    std::vector<int> out;
    for (int n = 0; n < lineCount(); ++n) {
        const Line* l = m_lines[std::size_t(n)].get();
        if (l && !l->label.isEmpty() && l->label.text == label)
            out.push_back(n);
    }
    return out;
}

std::vector<int> ScriptIndex::uses(QStringView label) const
{
    std::vector<int> out;
    for (int n = 0; n < lineCount(); ++n) {
        const Line* l = m_lines[std::size_t(n)].get();
        if (l && std::any_of(l->uses.begin(), l->uses.end(), [&](const Word& w) { return w.text == label; }))
            out.push_back(n);
    }
    return out;
}

bool ScriptIndex::operator==(const ScriptIndex& other) const
{
    return m_rules == other.m_rules &&
           std::equal(m_lines.begin(), m_lines.end(), other.m_lines.begin(), other.m_lines.end(),
                      [](const auto& a, const auto& b) { return a && b ? *a == *b : !a && !b; });
}
