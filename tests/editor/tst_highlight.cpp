// The highlight engine against the literal passes (ReferenceHighlighter) on
// the golden files and on thousands of random scripts and ranges; the six
// colours and their entries in the settings file.
#include "ReferenceHighlighter.h"

#include "common/Helpers.h"
#include "common/TestEnv.h"
#include "editor/SyntaxColours.h"
#include "platform/ProfileStore.h"
#include "platform/TextCodec.h"
#include "snippets/BasicTemplate.h"

#include <QtTest>

#include <random>

namespace {

using Classes = std::vector<std::uint8_t>;
constexpr std::uint8_t kNone = HighlightEngine::kUnpainted;

// What one engine call paints, {-} elsewhere: the classes of its result
// inside the stretch that it says it painted.
Classes byEngine(const HighlightEngine& engine, QStringView text, qsizetype rs, qsizetype re)
{
    const HighlightEngine::Result r = engine.highlight(text, rs, re);
    Classes out(std::size_t(text.size()), kNone);
    for (qsizetype pos = r.paintedBegin; pos < r.paintedEnd; ++pos)
        out.at(std::size_t(pos)) = r.classes.at(std::size_t(pos - r.begin));
    return out;
}

Classes byReference(const ReferenceHighlighter& ref, QStringView text, qsizetype rs, qsizetype re)
{
    Classes classes(std::size_t(text.size()), kNone);
    ref.highlight(text, rs, re, classes);
    return classes;
}

// The first line where two styled texts differ.
QString firstDiff(const QString& expected, const QString& actual)
{
    const QStringList a = expected.split(QLatin1Char('\n')), b = actual.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (a.value(i) != b.value(i))
            return QStringLiteral("line %1\n  expected %2\n  actual   %3").arg(i + 1).arg(a.value(i), b.value(i));
    }
    return {};
}

// Empty when the engine paints [rs, re] of text as the passes do.
QString disagreement(const HighlightEngine& engine, const ReferenceHighlighter& ref, QStringView text, qsizetype rs,
                     qsizetype re)
{
    const QString e = styledText(text, byEngine(engine, text, rs, re));
    const QString r = styledText(text, byReference(ref, text, rs, re));
    return e == r ? QString()
                  : QStringLiteral("range [%1, %2], passes against engine: ").arg(rs).arg(re) + firstDiff(r, e);
}

QList<qsizetype> lineStarts(QStringView text)
{
    QList<qsizetype> starts{0};
    for (qsizetype i = text.indexOf(QLatin1Char('\n')); i >= 0; i = text.indexOf(QLatin1Char('\n'), i + 1))
        starts << i + 1;
    return starts;
}

// Near-words of both kinds of tables, and the marks and characters that
// decide where words end and classes begin.
const QStringList kPieces = {"WAITING",  "Wait",        "WAIT_", "_WAIT",      "1WAIT", "End", "#INCLUDES", "##INCLUDE",
                             "--------", "SHIP_CLOCKS", "D0",    "A",          "ABC",   "AB_", "Q",         "\"",
                             "\"",       ":",           ";",     "/",          "//",    "#",   "\t",        " ",
                             " ",        ",",           "\n",    "\n",         "é",     "ß",   "€",         "\u0301",
                             "\u0663",   "_",           "-",     "\U0001F600", "\u2028"};

// count random scripts of table words and pieces from seed, each coloured in
// six ranges: the whole text, a line the caret left, selections inside a
// line, across lines, empty, and to the end. VANTREL_HIGHLIGHT_SEED and
// VANTREL_HIGHLIGHT_COUNT replace seed and count: a failing script's seed
// with a count of 1 runs it alone.
void runRandom(const HighlightEngine& engine, const ReferenceHighlighter& ref, const QStringList& words, quint32 seed,
               int count)
{
    seed = qEnvironmentVariable("VANTREL_HIGHLIGHT_SEED", QString::number(seed)).toUInt();
    count = qEnvironmentVariable("VANTREL_HIGHLIGHT_COUNT", QString::number(count)).toInt();
    for (quint32 s = seed; s < seed + quint32(count); ++s) {
        std::mt19937 rng(s);
        const auto pick = [&](qsizetype n) { return std::uniform_int_distribution<qsizetype>(0, n - 1)(rng); };
        QString text;
        const bool glued = pick(3) == 0;  // no blanks between tokens
        for (qsizetype t = pick(4) == 0 ? pick(8) : pick(160); t > 0; --t) {
            text += pick(3) == 0 ? words[pick(words.size())] : kPieces[pick(kPieces.size())];
            if (!glued && pick(2) == 0)
                text += QLatin1Char(' ');
        }
        const QList<qsizetype> starts = lineStarts(text) << text.size() + 1;
        const qsizetype line = pick(starts.size() - 1), ls = starts[line], lineEnd = starts[line + 1] - 1;
        const qsizetype a = pick(text.size() + 1), b = a + pick(text.size() - a + 1), c = ls + pick(lineEnd - ls + 1);
        const std::pair<qsizetype, qsizetype> ranges[] = {
            {0, -1}, {ls, line + 2 < starts.size() ? lineEnd + 1 : -1}, {c, c + pick(lineEnd - c + 1)}, {a, b}, {a, a},
            {b, -1}};
        for (const auto& [rs, re] : ranges) {
            const QString d = disagreement(engine, ref, text, rs, re);
            QVERIFY2(d.isEmpty(), qPrintable(QStringLiteral("seed %1, %2\ntext: %3").arg(s).arg(d, text)));
        }
    }
}

QList<ColourRef> fields(const SyntaxColours& c)
{
    return {c.m_clrRegularText, c.m_clrCommands, c.m_clrKeywords, c.m_clrStrings, c.m_clrComments, c.m_clrLabels};
}

// Six colours, none a default, some with bits a 24-bit colour lacks. Written,
// the first entry takes as much room as its default, the rest more.
SyntaxColours unusual()
{
    SyntaxColours c;
    c.m_clrRegularText = 1;
    c.m_clrCommands = 0xFFFFFFFF;
    c.m_clrKeywords = 0x01000000;
    c.m_clrStrings = 0x80000000;
    c.m_clrComments = 0x00FFFFFF;
    c.m_clrLabels = 0x7FFFFFFF;
    return c;
}

}  // namespace

class TestHighlight : public QObject {
    Q_OBJECT
    HighlightEngine m_engine;
    ReferenceHighlighter m_ref;
    TestEnv m_env;

    // The settings file as the next run reads it, not as this process caches it.
    std::unique_ptr<ProfileStore> fromDisk()
    {
        static int copies = 0;
        const QString copy = m_env.root() + QStringLiteral("/copy%1.conf").arg(++copies);
        QFile::copy(m_env.settingsFile(), copy);
        return std::make_unique<ProfileStore>(copy);
    }

private slots:
    void goldens_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("golden");
        const QDir dir(QStringLiteral(VANTREL_TEST_DATA "/highlight"));
        // The template as Create Basic Script puts it in, not a copy of it.
        QTest::newRow("template") << BasicTemplate::text() << dir.filePath(QStringLiteral("template.iws.styled"));
        for (const QString& name : dir.entryList({QStringLiteral("*.iws")}, QDir::Files))
            QTest::newRow(qPrintable(name))
                << textcodec::readScriptFile(dir.filePath(name)).text << dir.filePath(name + QStringLiteral(".styled"));
    }
    // The whole text as the passes colour it and as its golden shows it; a
    // golden that differs gets GOLDEN.new beside it, for a person to compare
    // and rename. Then every line as the line the caret left, and stretches
    // of lines as selections.
    void goldens()
    {
        QFETCH(QString, text);
        QFETCH(QString, golden);
        QString d = disagreement(m_engine, m_ref, text, 0, -1);
        QVERIFY2(d.isEmpty(), qPrintable(d));
        const QString styled = styledText(text, byReference(m_ref, text, 0, -1));
        const QString expected = QString::fromUtf8(readFile(golden));
        if (styled != expected) {
            writeFile(golden + QStringLiteral(".new"), styled.toUtf8());
            QFAIL(qPrintable(golden + QStringLiteral(".new written: ") + firstDiff(expected, styled)));
        }
        const QList<qsizetype> starts = lineStarts(text);
        for (qsizetype k = 0; k < starts.size(); ++k) {
            d = disagreement(m_engine, m_ref, text, starts[k], k + 1 < starts.size() ? starts[k + 1] : -1);
            if (k % 7 == 0 && k + 3 < starts.size())
                d += disagreement(m_engine, m_ref, text, starts[k] + 2, starts[k + 3] + 1);
            QVERIFY2(d.isEmpty(), qPrintable(d));
        }
    }

    // Partial ranges, which the goldens colour only as a whole: what one call
    // paints, {-} where it paints nothing.
    void partialRanges()
    {
        const std::tuple<const char*, qsizetype, qsizetype, const char*> rows[] = {
            {"SET a ; WAIT \"s\" b:c\n", 8, 20, "{L}SET a ; WAIT \"s\" b{R}:c{-}\n"},  // from inside a comment
            {"PROMPT \"abc\" ; c\nnext\n", 0, 8, "{C}PROMPT{R} \"{S}abc{-}\" ; c\nnext\n"},
            {"PROMPT \"abc\" ; c\nnext\n", 0, 14, "{C}PROMPT{R} \"{S}abc{R}\" {M}; c\n{-}next\n"},
            {"x \"ab\"\n", 2, 3, "{-}x {R}\"{S}ab{-}\"\n"},
            {"WAIT 1\nEnd:\nEND", 7, 12, "{-}WAIT 1\n{L}End{R}:\n{-}END"},  // a line left, with its break
            {"WAIT\n", 0, 3, "{R}WAI{-}T\n"},
            {"XWAIT\n", 1, 5, "{-}X{R}WAIT{-}\n"},
            {"WAIT ; x\n", 2, 2, "{-}WAIT ; x\n"},
        };
        for (const auto& [script, rs, re, expected] : rows) {
            const QString text = QString::fromUtf8(script);
            QCOMPARE(styledText(text, byEngine(m_engine, text, rs, re)), QString::fromUtf8(expected));
            QCOMPARE(styledText(text, byReference(m_ref, text, rs, re)), QString::fromUtf8(expected));
        }
    }

    // The find operation that the passes rest on.
    void findOperation()
    {
        const QString t = QStringLiteral("WAIT WAITING _WAIT wait WAIT");
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 1, -1, true), 24);
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 1, -1, false), 5);
        QCOMPARE(ReferenceHighlighter::find(t, u"WAIT", 1, 27, true), -1);  // not wholly inside
        QCOMPARE(ReferenceHighlighter::find(t, u"AIT", 1, 4, true), -1);    // neighbour outside the range
        QCOMPARE(ReferenceHighlighter::find(t, u"W", 3, 3, false), -1);     // empty range
    }

    void randomScripts()
    {
        const ScriptVocabulary::Tables& tables = ScriptVocabulary::builtIn();
        runRandom(m_engine, m_ref, wordsOf(tables.commands) + wordsOf(tables.keywords), 20260101u, 3000);
    }

    // Tables of other words: words in both tables, words that overlap, begin
    // or end with a sign or hold one, an empty slot, a long word.
    void randomScriptsOwnTables()
    {
        ScriptVocabulary::Table commands{}, keywords{};
        const char* const c[] = {"AB", "A_B", "#X", "X", "B-C", "", "#AB", "Q#", "#", "C", "//X", "END", "X:Y"};
        const char* const k[] = {"AB", "B", "#AB", "#C", "X", "C-D", "END", "X#", "LONG_WORD_OF_THIRTY_TWO_LETTERS"};
        std::copy(std::begin(c), std::end(c), commands.begin());
        std::copy(std::begin(k), std::end(k), keywords.begin());
        runRandom(HighlightEngine(commands, keywords), ReferenceHighlighter(commands, keywords),
                  wordsOf(commands) + wordsOf(keywords), 777u, 2000);
    }

    // Entries missing from the settings file give the defaults; an entry there
    // reaches its own field unchanged. All six are written each time, changed
    // or not, each to its own entry.
    void colourSettings()
    {
        SyntaxColours colours = unusual();
        colours.read(ProfileStore::app());
        QCOMPARE(fields(colours), fields(SyntaxColours{}));
        QVERIFY(ProfileStore::app().writeInt(QStringLiteral("Syntax Colours"), QStringLiteral("Strings"), -2));
        colours.read(*fromDisk());
        SyntaxColours expected;
        expected.m_clrStrings = 0xFFFFFFFE;
        QCOMPARE(fields(colours), fields(expected));

        unusual().write(ProfileStore::app());
        colours.read(*fromDisk());
        QCOMPARE(fields(colours), fields(unusual()));
        const QList<ColourRef> byClass = {colours.forClass(TextClass::Regular), colours.forClass(TextClass::Command),
                                          colours.forClass(TextClass::Keyword), colours.forClass(TextClass::String),
                                          colours.forClass(TextClass::Comment), colours.forClass(TextClass::Label)};
        QCOMPARE(byClass, fields(colours));
    }
};

QTEST_GUILESS_MAIN(TestHighlight)
#include "tst_highlight.moc"
