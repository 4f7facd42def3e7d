// The highlight engine against the literal passes (ReferenceHighlighter): on
// the golden files, on edge cases of partial ranges, and on thousands of
// random scripts and ranges.
#include "ReferenceHighlighter.h"

#include "editor/HighlightEngine.h"
#include "editor/ScriptVocabulary.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <random>

namespace {

using Classes = std::vector<std::uint8_t>;
constexpr std::uint8_t kNone = HighlightEngine::kUnpainted;

// What one call leaves behind: the final class of every character, starting
// from prior, and which characters the call painted.
struct Colouring {
    Classes final;
    Classes painted;
    QString problem;  // a broken promise of the engine's result, if any

    // The classes the call painted, {-} (kNone) elsewhere.
    Classes paintedOnly() const
    {
        Classes out(final.size(), kNone);
        for (std::size_t i = 0; i < final.size(); ++i) {
            if (painted[i])
                out[i] = final[i];
        }
        return out;
    }
};

Colouring byEngine(const HighlightEngine& engine, QStringView text, qsizetype rs, qsizetype re, const Classes& prior)
{
    Colouring c{prior, Classes(prior.size(), 0), {}};
    const HighlightEngine::Result r = engine.highlight(text, rs, re);
    const auto n = qsizetype(text.size());
    if (r.begin < 0 || r.begin + qsizetype(r.classes.size()) > n) {
        c.problem = QStringLiteral("result from %1 of %2 classes lies outside the text of %3 characters")
                        .arg(r.begin)
                        .arg(r.classes.size())
                        .arg(n);
        return c;
    }
    for (std::size_t k = 0; k < r.classes.size(); ++k) {
        if (r.classes[k] == kNone)
            continue;
        const auto pos = qsizetype(k) + r.begin;
        if (r.classes[k] >= kTextClassCount)
            c.problem = QStringLiteral("class %1 at %2").arg(r.classes[k]).arg(pos);
        if (pos < r.paintedBegin || pos >= r.paintedEnd)
            c.problem = QStringLiteral("painted %1 lies outside [paintedBegin %2, paintedEnd %3)")
                            .arg(pos)
                            .arg(r.paintedBegin)
                            .arg(r.paintedEnd);
        c.final[std::size_t(pos)] = r.classes[k];
        c.painted[std::size_t(pos)] = 1;
    }
    return c;
}

Colouring byReference(const ReferenceHighlighter& ref, QStringView text, qsizetype rs, qsizetype re,
                      const Classes& prior)
{
    Colouring c{prior, {}, {}};
    ref.highlight(text, rs, re, c.final, &c.painted);
    return c;
}

QString visible(QString line)
{
    line.replace(QLatin1Char('\t'), QChar(0x2192));
    line.replace(QLatin1Char('\n'), QChar(0x00B6));
    return line;
}

// The styled text of both sides, line by line, where they differ.
QString lineDiff(const QString& expectedName, const QString& expected, const QString& actualName, const QString& actual)
{
    const QStringList a = expected.split(QLatin1Char('\n'));
    const QStringList b = actual.split(QLatin1Char('\n'));
    QString out;
    for (qsizetype i = 0, shown = 0; i < std::max(a.size(), b.size()) && shown < 8; ++i) {
        const QString la = a.value(i, QStringLiteral("(no line)"));
        const QString lb = b.value(i, QStringLiteral("(no line)"));
        if (la != lb && ++shown)
            out += QStringLiteral("  line %1\n    %2: %3\n    %4: %5\n")
                       .arg(i + 1)
                       .arg(expectedName, -9)
                       .arg(visible(la))
                       .arg(actualName, -9)
                       .arg(visible(lb));
    }
    return out;
}

// Empty when the engine agrees with the literal passes on [rs, re] of text.
QString disagreement(const HighlightEngine& engine, const ReferenceHighlighter& ref, QStringView text, qsizetype rs,
                     qsizetype re, const Classes& prior)
{
    const Colouring e = byEngine(engine, text, rs, re, prior);
    if (!e.problem.isEmpty())
        return QStringLiteral("range [%1, %2]: %3\n").arg(rs).arg(re).arg(e.problem);
    const Colouring r = byReference(ref, text, rs, re, prior);
    if (e.final == r.final && e.painted == r.painted)
        return QString();
    // Show what the call painted: a difference in colour and one in the
    // painted stretch both show there.
    return QStringLiteral("range [%1, %2] of a text of %3 characters; {-}: not painted\n%4")
        .arg(rs)
        .arg(re)
        .arg(text.size())
        .arg(lineDiff(QStringLiteral("reference"), styledText(text, r.paintedOnly()), QStringLiteral("engine"),
                      styledText(text, e.paintedOnly())));
}

QString readText(const QString& path)
{
    const textcodec::ReadResult r = textcodec::readScriptFile(path);
    if (!r.error.isEmpty())
        qFatal("cannot read %s: %s", qPrintable(path), qPrintable(r.error));
    return r.text;
}

std::vector<qsizetype> lineStarts(QStringView text)
{
    std::vector<qsizetype> starts{0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n'))
            starts.push_back(i + 1);
    }
    return starts;
}

// ---- random scripts --------------------------------------------------------

std::vector<QString> vocabulary(const ScriptVocabulary::Table& a, const ScriptVocabulary::Table& b)
{
    std::vector<QString> words;
    for (const auto* t : {&a, &b}) {
        for (const char* w : *t) {
            if (w && *w)
                words.push_back(QString::fromLatin1(w));
        }
    }
    return words;
}

// Words that are almost vocabulary words, and the marks and characters that
// decide where words end and classes begin.
const QStringList kNearWords = {
    "WAITING", "Wait",  "wait",    "WAIT_",        "_WAIT",     "WAIT1",    "1WAIT",    "End",         "END_",
    "SHIPS",   "IFF",   "INCLUDE", "#INCLUDES",    "##INCLUDE", "#include", "--------", "SHIP_CLOCKS", "SET_",
    "X",       "DOCK1", "ARC_30_", "WEAPON_BEAM2", "D0",        "on",       "CamWep",   "DreadMd",
};
const QStringList kMarks = {
    "\"", "\"", "\"", ":", ":", ";",      ";",      "/", "//", "#", "\t", " ",   " ",          " ",      ",", ",", "\n",
    "\n", "\n", "é",  "ß", "€", "\u0301", "\u0663", "_", "-",  "x", "0",  "100", "\U0001F600", "\u2028", "(", ")", ".",
};

struct RandomScript {
    QString text;
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
};

RandomScript randomScript(std::mt19937& rng, const std::vector<QString>& words, const QStringList& nearWords)
{
    const auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    RandomScript s;
    const int tokens = pick(4) == 0 ? pick(8) : pick(160);
    const bool glued = pick(3) == 0;  // no blanks between tokens
    for (int t = 0; t < tokens; ++t) {
        const int kind = pick(20);
        if (kind < 7)
            s.text += words[std::size_t(pick(int(words.size())))];
        else if (kind < 10)
            s.text += nearWords[pick(int(nearWords.size()))];
        else
            s.text += kMarks[pick(int(kMarks.size()))];
        if (!glued && pick(2) == 0)
            s.text += QLatin1Char(' ');
    }

    const auto n = qsizetype(s.text.size());
    const std::vector<qsizetype> starts = lineStarts(s.text);
    const auto at = [&](qsizetype lo, qsizetype hi) {  // in [lo, hi]
        return std::uniform_int_distribution<qsizetype>(lo, hi)(rng);
    };
    for (int k = 0; k < 6; ++k) {
        const auto line = std::size_t(pick(int(starts.size())));
        const qsizetype ls = starts[line];
        const qsizetype next = line + 1 < starts.size() ? starts[line + 1] : -1;
        const qsizetype lineEnd = next < 0 ? n : next;
        qsizetype a = 0;
        switch (pick(8)) {
        case 0:
            s.ranges.emplace_back(0, -1);
            break;
        case 1:
            s.ranges.emplace_back(0, n);
            break;
        case 2:
            a = at(0, n), s.ranges.emplace_back(a, a);
            break;
        case 3:
            s.ranges.emplace_back(ls, next);
            break;  // the line the caret left
        case 4:
            a = at(ls, lineEnd), s.ranges.emplace_back(a, at(a, lineEnd));
            break;  // inside one line
        case 5:
            a = at(0, n), s.ranges.emplace_back(a, at(a, n));
            break;
        case 6:
            s.ranges.emplace_back(at(0, n), -1);
            break;
        default:
            a = at(ls, lineEnd), s.ranges.emplace_back(a, at(a, n));
            break;  // into a later line
        }
    }
    return s;
}

Classes randomPrior(std::mt19937& rng, qsizetype n)
{
    Classes prior(std::size_t(n), 0);
    std::uniform_int_distribution<int> cls(0, kTextClassCount - 1);
    for (auto& c : prior)
        c = std::uint8_t(cls(rng));
    return prior;
}

quint32 seedFromEnv(const char* name, quint32 fallback)
{
    bool ok = false;
    const quint32 v = qEnvironmentVariable(name).toUInt(&ok, 0);
    return ok ? v : fallback;
}

// Runs count random scripts from baseSeed; on the first disagreement fails
// with the script's own seed, which reproduces it alone.
void runRandom(const HighlightEngine& engine, const ReferenceHighlighter& ref, const std::vector<QString>& words,
               const QStringList& nearWords, quint32 baseSeed, int count)
{
    for (int i = 0; i < count; ++i) {
        const quint32 seed = baseSeed + quint32(i);
        std::mt19937 rng(seed);
        const RandomScript s = randomScript(rng, words, nearWords);
        for (const auto& [rs, re] : s.ranges) {
            const Classes prior = randomPrior(rng, s.text.size());
            const QString d = disagreement(engine, ref, s.text, rs, re, prior);
            QVERIFY2(d.isEmpty(),
                     qPrintable(QStringLiteral("random script, seed %1 (run it alone with "
                                               "VANTREL_HIGHLIGHT_SEED=%1 VANTREL_HIGHLIGHT_COUNT=1)\ntext: %2\n%3")
                                    .arg(seed)
                                    .arg(visible(s.text), d)));
        }
    }
}

// Empty when styled, the colouring of text by who, matches expected.
QString styledDiff(const QString& who, const QString& expected, QStringView text, const Classes& classes)
{
    const QString styled = styledText(text, classes);
    return styled == expected ? QString() : lineDiff(QStringLiteral("expected"), expected, who, styled);
}

}  // namespace

class TestHighlight : public QObject {
    Q_OBJECT
    HighlightEngine m_engine;
    ReferenceHighlighter m_ref;

private slots:
    void goldenFiles_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(VANTREL_TEST_DATA "/highlight"));
        const QStringList names = dir.entryList({QStringLiteral("*.iws")}, QDir::Files, QDir::Name);
        QVERIFY2(names.size() >= 3, "the golden files are missing");
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
    // The whole text against NAME.iws.styled (scripts/regen_goldens.sh rewrites
    // it); then every line as the line the caret left, and stretches of lines
    // as pasted selections, on top of a whole-text colouring.
    void goldenFiles()
    {
        QFETCH(QString, path);
        const QString text = readText(path);
        QFile styledFile(path + QStringLiteral(".styled"));
        QVERIFY2(styledFile.open(QIODevice::ReadOnly), qPrintable(styledFile.fileName() + " is missing"));
        const QString expected = QString::fromUtf8(styledFile.readAll());
        const Classes unpainted(std::size_t(text.size()), kNone);
        const Colouring e = byEngine(m_engine, text, 0, -1, unpainted);
        QVERIFY2(e.problem.isEmpty(), qPrintable(e.problem));
        QString d = styledDiff(QStringLiteral("engine"), expected, text, e.final);
        QVERIFY2(d.isEmpty(), qPrintable(d));
        const Classes prior = byReference(m_ref, text, 0, -1, unpainted).final;
        d = styledDiff(QStringLiteral("reference"), expected, text, prior);
        QVERIFY2(d.isEmpty(), qPrintable(d));

        const std::vector<qsizetype> starts = lineStarts(text);
        for (std::size_t line = 0; line < starts.size(); ++line) {
            const qsizetype next = line + 1 < starts.size() ? starts[line + 1] : -1;
            d = disagreement(m_engine, m_ref, text, starts[line], next, prior);
            QVERIFY2(d.isEmpty(), qPrintable(d));
        }
        for (std::size_t line = 0; line + 3 < starts.size(); line += 7) {
            d = disagreement(m_engine, m_ref, text, starts[line] + 2, starts[line + 3] + 1, prior);
            QVERIFY2(d.isEmpty(), qPrintable(d));
        }
    }

    // What one call paints, {-} where it paints nothing. Mostly partial
    // ranges, which the goldens leave to the reference alone.
    void edgeCases_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("rs");
        QTest::addColumn<qsizetype>("re");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& text, qsizetype rs, qsizetype re,
                            const QString& expected) { QTest::newRow(name) << text << rs << re << expected; };
        row("colon in a comment labels the line", "WAIT_TIME 100 ; wait: short\n", 0, -1,
            "{L}WAIT_TIME 100 {M}; wait: short\n");
        row("End: is a label, not END", "End:\n\tEND\n", 0, -1, "{L}End{R}:\n\t{C}END{R}\n");
        row("semicolon inside a string", "HUD_STRING \"a;b\"\n", 0, -1, "{C}HUD_STRING{R} \"{S}a{M};b\"\n");
        row("unclosed quote, string on the next line", "SET x,\"open\nPROMPT \"done\"\n", 0, -1,
            "{C}SET{R} x,\"open\n{C}PROMPT{R} \"{S}done{R}\"\n");
        row("quote right after a closing quote", "\"a\"\"b\"\n", 0, -1, "{R}\"{S}a{R}\"\"b\"\n");
        row("strings never span lines", "PROMPT \"one\ntwo\" END\n", 0, -1, "{C}PROMPT{R} \"one\ntwo\" {C}END{R}\n");
        row("template REGLOAD line", "\tREGLOAD\tDreadMd,\"\\psg\\resource\\shapes\\CorvAsm_rto.lwo\",LWO2BRM\n", 0, -1,
            "{R}\t{C}REGLOAD{R}\tDreadMd,\"{S}\\psg\\resource\\shapes\\CorvAsm_rto.lwo{R}\",{K}LWO2BRM{R}\n");
        row("non-ASCII letters continue words, other signs do not",
            QString::fromUtf8("\u00e9WAIT WAIT\u00df WAIT\u20ac WAIT\u0301 \u0663ON\n"), 0, -1,
            QString::fromUtf8("{R}\u00e9WAIT WAIT\u00df {C}WAIT{R}\u20ac {C}WAIT{R}\u0301 \u0663ON\n"));
        row("selection starting inside a comment", "SET a ; WAIT \"s\" b:c\n", 8, 20,
            "{L}SET a ; WAIT \"s\" b{R}:c{-}\n");
        row("string reaches past the selection", "PROMPT \"abc\" ; c\nnext\n", 0, 8,
            "{C}PROMPT{R} \"{S}abc{-}\" ; c\nnext\n");
        row("comment reaches past the selection", "PROMPT \"abc\" ; c\nnext\n", 0, 14,
            "{C}PROMPT{R} \"{S}abc{R}\" {M}; c\n{-}next\n");
        row("last line as the line left", "WAIT 1\nPROMPT \"x\" ; end", 7, -1,
            "{-}WAIT 1\n{C}PROMPT{R} \"{S}x{R}\" {M}; end");
        row("line left, its line break included", "WAIT 1\nEnd:\nEND", 7, 12, "{-}WAIT 1\n{L}End{R}:\n{-}END");
        row("word cut by the range", "WAIT\n", 0, 3, "{R}WAI{-}T\n");
        row("word whose neighbour lies before the range", "XWAIT\n", 1, 5, "{-}X{R}WAIT{-}\n");
        row("slashes cut by the range", "a//b\n", 0, 2, "{R}a/{-}/b\n");
        row("colon at the range start labels before it", "abc:def\n", 3, 7, "{L}abc{R}:def{-}\n");
        row("empty selection paints nothing", "WAIT ; x\n", 2, 2, "{-}WAIT ; x\n");
        row("empty selection at the end", "WAIT", 4, 4, "{-}WAIT");
        row("opening quote at the range end is found, closing quote past it", "x \"ab\"\n", 2, 3,
            "{-}x {R}\"{S}ab{-}\"\n");
    }
    void edgeCases()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, rs);
        QFETCH(qsizetype, re);
        QFETCH(QString, expected);
        const Classes prior(std::size_t(text.size()), kNone);
        const Colouring e = byEngine(m_engine, text, rs, re, prior);
        QVERIFY2(e.problem.isEmpty(), qPrintable(e.problem));
        QString d = styledDiff(QStringLiteral("engine"), expected, text, e.paintedOnly());
        QVERIFY2(d.isEmpty(), qPrintable(d));
        d = styledDiff(QStringLiteral("reference"), expected, text,
                       byReference(m_ref, text, rs, re, prior).paintedOnly());
        QVERIFY2(d.isEmpty(), qPrintable(d));
    }

    // The reference's find is what the other checks rest on.
    void findOperation()
    {
        const QString t = QStringLiteral("WAIT WAITING _WAIT wait WAIT");
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 0, -1, true, true), 0);
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 1, -1, true, true), 24);
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 1, -1, true, false), 5);
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 1, -1, false, true), 19);
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 1, 27, true, true), -1);  // not wholly inside
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 24, 28, true, true), 24);
        QCOMPARE(ReferenceHighlighter::find(t, u"AIT", 1, 4, true, true), -1);  // neighbour outside the range counts
        QCOMPARE(ReferenceHighlighter::find(t, u"W", 3, 3, true, false), -1);   // empty range
        QCOMPARE(ReferenceHighlighter::find(t, u"W", 6, 3, true, false), -1);   // inverted range
        QCOMPARE(ReferenceHighlighter::find(t, u"W", 30, -1, true, false), -1);
    }

    void randomScripts()
    {
        ScriptVocabulary::Table commands, keywords;
        ScriptVocabulary::fill(commands, keywords);
        const quint32 seed = seedFromEnv("VANTREL_HIGHLIGHT_SEED", 20260101u);
        const int count = int(seedFromEnv("VANTREL_HIGHLIGHT_COUNT", 3000u));
        runRandom(m_engine, m_ref, vocabulary(commands, keywords), kNearWords, seed, count);
    }

    // Tables of other words: overlapping words in both tables, words that begin
    // or end with a sign, words with a sign inside, long words.
    void randomScriptsOwnTables()
    {
        static const char* const kCommands[] = {"AB", "A_B", "#X", "X",   "B-C",   "A.B", "#AB", "Q#",
                                                "#",  "C",   "D",  "//X", "AB_CD", "END", "ON",  "X:Y"};
        static const char* const kKeywords[] = {"AB",
                                                "B",
                                                "#AB",
                                                "#C",
                                                "X",
                                                "C-D",
                                                "END",
                                                "X#",
                                                "LONG_WORD_"
                                                "THAT_IS_MUCH_LONGER_THAN_ANY_WORD_OF_THE_BUILT_IN_LISTS_AT_ALL"};
        ScriptVocabulary::Table commands{}, keywords{};
        std::copy(std::begin(kCommands), std::end(kCommands), commands.begin());
        std::copy(std::begin(kKeywords), std::end(kKeywords), keywords.begin());
        for (auto& t : {&commands, &keywords}) {
            for (auto& w : *t) {
                if (!w)
                    w = "";
            }
        }
        const HighlightEngine engine(commands, keywords);
        const ReferenceHighlighter ref(commands, keywords);
        const QStringList nearWords = {"A", "B", "C", "D", "-", "#", "Q", "X", "Y", "_", ":", "ABC", "AB_"};
        const quint32 seed = seedFromEnv("VANTREL_HIGHLIGHT_SEED", 777u);
        const int count = int(seedFromEnv("VANTREL_HIGHLIGHT_COUNT", 2000u));
        runRandom(engine, ref, vocabulary(commands, keywords), nearWords, seed, count);
    }
};

QTEST_GUILESS_MAIN(TestHighlight)
#include "tst_highlight.moc"
