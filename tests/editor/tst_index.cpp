// The script index and its hints: the shapes it knows, its labels against
// the highlighter's colours, its upkeep through real edits of the editor
// (compared with a fresh index), and each hint with the near-misses that
// must not raise it.
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "editor/HighlightEngine.h"
#include "editor/ScriptHints.h"
#include "editor/ScriptIndex.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"
#include "snippets/BasicTemplate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <random>

namespace {

QStringList sectionNames(const ScriptIndex& index)
{
    QStringList names;
    for (const ScriptIndex::Section& s : index.sections())
        names << s.name.text;
    return names;
}

// "LINE:COLUMN text" per hint, 1-based as printed.
QStringList hintsOf(const QString& script, const IncludeResolver& resolve = {})
{
    QStringList out;
    for (const ScriptHint& h : scriptHints(ScriptIndex(script), resolve))
        out << QStringLiteral("%1:%2 %3").arg(h.line + 1).arg(h.column + 1).arg(h.text);
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Lines of the shapes the index keeps, near-misses of them, and pieces that
// cut across them when edits join and split lines.
const QStringList kLines = {
    "End:",
    "\tBRA End",
    "  BRA_IF Loop,SHIP_CLOCK,GT,100 ; then",
    "Loop: CALL End",
    "; -- Models ----",
    ";----------",
    "; CREATE UNIVERSE",
    "#INCLUDE pcorvette.shp",
    "\tHUD_STRING \"open",
    "CALL \"End\" // x",
    "DECBNE 5,End",
    "BRAVO Here",
    "",
    "\tWAIT_TIME 100 ; wait: short",
    "x\"y\"\"z",
    ";----\n; BANNER\n;----",
    ";----\n; BANNER",
};
const QStringList kPieces = {"\n", "\n", ":",  ";", "\"",    " ",    "BRA ", "End",      "-",
                             "//", "#",  "\t", "é", "Lab1:", ";---", "-",    "\n;----\n"};

}  // namespace

class TestIndex : public QObject {
    Q_OBJECT
    TestEnv m_env;

private slots:
    void theTemplatesShapes()
    {
        // The template shows each shape once or more: both kinds of
        // section, a label, a branch to it, an include and a commented-out one.
        const ScriptIndex index(BasicTemplate::text());
        const QStringList sections = sectionNames(index);
        QVERIFY(sections.contains(QStringLiteral("Models")));     // "; --Models----"
        QVERIFY(sections.contains(QStringLiteral("3D Models")));  // "; -- 3D Models ----"
        QVERIFY(sections.contains(QStringLiteral("CREATE UNIVERSE")));
        QVERIFY(sections.contains(QStringLiteral("MAIN MISSION CODE STARTS HERE")));
        // A rule, then comment lines: no banner without the closing rule.
        for (const QString& s : sections)
            QVERIFY2(!s.startsWith(QLatin1String("THIS MISSION")) && !s.startsWith(QLatin1String("Mission Script")),
                     qPrintable(s));

        const std::vector<int> ends = index.definitions(u"End");
        QCOMPARE(int(ends.size()), 1);
        QCOMPARE(index.line(ends[0])->label.column, 0);
        QCOMPARE(int(index.uses(u"End").size()), 1);
        QStringList includes;
        for (int n = 0; n < index.lineCount(); ++n) {
            if (const ScriptIndex::Line* l = index.line(n); l && !l->include().isEmpty())
                includes << l->include().text;
        }
        QCOMPARE(includes, QStringList{QStringLiteral("pcorvette.shp")});
        QVERIFY(hintsOf(BasicTemplate::text(), [](const QString&) {
                    IncludedLabels found;
                    found.found = true;
                    return found;
                }).isEmpty());
    }

    void labelUses_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("uses");
        QTest::newRow("plain") << "\tBRA\t\tEnd\t\t; Jump" << QStringList{"End"};
        QTest::newRow("after a label") << "Top: CALL_ONCE Sub" << QStringList{"Sub"};
        QTest::newRow("numbers, strings, keywords") << "BRA_IF Go,\"No\",SHIP_CLOCK,GT,100,-5" << QStringList{"Go"};
        QTest::newRow("comment ends it") << "DECBEQ n,Out // Back" << QStringList{"n", "Out"};
        QTest::newRow("not a branch word") << "BRAVO Here" << QStringList{};
        QTest::newRow("commented out") << ";BRA End" << QStringList{};
    }
    void labelUses()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, uses);
        QStringList got;
        if (const auto l = ScriptIndex::parseLine(line))
            for (const ScriptIndex::Word& w : l->uses)
                got << w.text;
        QCOMPARE(got, uses);
    }

    // What the index calls a label is a word the highlighter colours as one,
    // and a first word coloured as a label and followed by its colon is one
    // the index knows.
    void labelsAreWhatTheHighlighterColours()
    {
        const HighlightEngine engine;
        std::mt19937 rng(20);
        const QStringList words = {"End", "BRA", "A1", "é", "_x", "SHIP_CLOCK", "9"};
        const QStringList marks = {":", ":", " ", "\t", ";", "//", "\"", ",", "#", "-"};
        int labels = 0;
        for (int i = 0; i < 20000; ++i) {
            QString line;
            for (int t = int(rng() % 7); t >= 0; --t)
                line += rng() % 2 ? words[rng() % words.size()] : marks[rng() % marks.size()];
            const HighlightEngine::Result r = engine.highlight(line, 0, -1);
            qsizetype column = -1;
            const QStringView label = HighlightEngine::lineLabel(line, &column);
            qsizetype first = 0;
            while (first < line.size() && (line[first] == QLatin1Char(' ') || line[first] == QLatin1Char('\t')))
                ++first;
            qsizetype end = first;
            while (end < line.size() && HighlightEngine::isWordChar(line[end]))
                ++end;
            const bool colouredLabel = end > first && end < line.size() && line[end] == QLatin1Char(':') &&
                                       std::all_of(r.classes.begin() + first, r.classes.begin() + end,
                                                   [](auto c) { return c == std::uint8_t(TextClass::Label); });
            QVERIFY2(colouredLabel == !label.isEmpty(), qPrintable(line));
            if (colouredLabel) {
                QCOMPARE(column, first);
                QCOMPARE(label.size(), end - first);
                ++labels;
            }
        }
        QVERIFY(labels > 1000);
    }

    // Thousands of edits through the editor, typed, pasted, deleted, undone
    // and redone: after each, the index kept by the view is the one a fresh
    // look at its text gives.
    void incrementalIndexEqualsAFreshOne()
    {
        CVantrelView view;
        view.resize(400, 300);
        view.show();
        std::mt19937 rng(7);
        QString start;
        for (int i = 0; i < 300; ++i)
            start += kLines[rng() % kLines.size()] + QLatin1Char('\n');
        view.loadScript(start, false);
        for (int step = 0; step < 3000; ++step) {
            QTextCursor c = view.textCursor();
            const int length = int(view.textLength());
            const int a = int(rng() % (length + 1));
            const int b = std::min(length, a + int(rng() % 40));
            switch (rng() % 6) {
            case 0:
            case 1:
                c.setPosition(a);
                c.insertText(kPieces[rng() % kPieces.size()]);
                break;
            case 2:
                c.setPosition(a);
                c.insertText(kLines[rng() % kLines.size()] + QLatin1Char('\n') + kLines[rng() % kLines.size()]);
                break;
            case 3:
                c.setPosition(a);
                c.setPosition(b, QTextCursor::KeepAnchor);
                c.removeSelectedText();
                break;
            case 4:
                view.OnEditUndo();
                break;
            case 5:
                view.OnEditRedo();
                break;
            }
            // Painting hands colours to the layouts, which reports content
            // changes of its own that change no text.
            if (step % 16 == 0) {
                view.OnRegenerateHighlights();
                view.repaint();
            }
            if (!(view.index() == ScriptIndex(view.rawTextView())))
                QFAIL(qPrintable(QStringLiteral("step %1: the index differs from a fresh one").arg(step)));
        }
        QCOMPARE(view.index().lineCount(), view.document()->blockCount());
    }

    // A script file is read a block at a time: whatever stands at a block's
    // end (a line cut in two, a CR LF cut after its CR), the index is the one
    // of the whole text.
    void readingAFileEqualsIndexingItsText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.iws"));
        const QByteArray banner = ";----\r\n; TITLE\r\n;----\r\n";
        for (const QByteArray& filler : {QByteArray("BRA End\r\n"), QByteArray("x\n"), QByteArray("End:\r")}) {
            for (const int shift : {0, 1, 2, 5, 9, 20}) {
                QByteArray bytes = filler.repeated(300 * 1024 / filler.size() / 2);
                bytes += QByteArray(shift, ';') + "\r\n" + banner;
                bytes += filler.repeated(300 * 1024 / filler.size() / 2);
                QVERIFY(writeFile(path, bytes));
                ScriptIndex read;
                QCOMPARE(read.readFile(path), QString());
                QVERIFY2(read == ScriptIndex(textcodec::decode(bytes)), qPrintable(filler + QByteArray::number(shift)));
            }
        }
        ScriptIndex none;
        QVERIFY(!none.readFile(dir.filePath(QStringLiteral("none.iws"))).isEmpty());
    }

    void hints_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("hints");
        const QString twice = QString(str::kHintLabelTwice);
        QTest::newRow("label twice: both lines")
            << "Go:\nBRA Go\n  Go: WAIT 1\n"
            << QStringList{"1:1 " + twice.arg("Go").arg(3), "3:3 " + twice.arg("Go").arg(1)};
        QTest::newRow("labels differ in case") << "Go:\ngo:\nBRA Go,go\n" << QStringList{};
        QTest::newRow("branch to no label") << "Top:\nBRA_IF Tpo,SHIP_CLOCK,GT,5\n"
                                            << QStringList{"2:8 " + QString(str::kHintNoLabel).arg("Tpo")};
        QTest::newRow("one argument names a label") << "Top:\nDECBNE count,Top\n" << QStringList{};
        QTest::newRow("branch in a comment") << "; BRA Nowhere\n// CALL Nowhere\nWAIT 1 ; BRA Nowhere\n"
                                             << QStringList{};
        QTest::newRow("string left open")
            << "HUD_STRING \"Hello\nHUD_STRING \"a\" \"b\n"
            << QStringList{"1:12 " + QString(str::kHintOpenString), "2:16 " + QString(str::kHintOpenString)};
        QTest::newRow("quote in a comment") << "WAIT 1 ; don't say \"hi\nWAIT 1 // \"" << QStringList{};
    }
    void hints()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, hints);
        QCOMPARE(hintsOf(script), hints);
    }

    // Includes are looked up as the game looks: beside the script, then in
    // the game's folder, names without regard to case; their labels, and
    // those of what they include, count for the script's branches.
    void includesLendTheirLabels()
    {
        QTemporaryDir scripts, game;
        QVERIFY(QDir(game.path()).mkpath(QStringLiteral("Lib")));
        QVERIFY(writeFile(scripts.filePath(QStringLiteral("Common.IWS")), "Shared:\n#INCLUDE lib\\deep.iws\n"));
        QVERIFY(writeFile(game.filePath(QStringLiteral("Lib/Deep.iws")), "Deeper:\nFar:\n"));
        IncludeFiles files(scripts.path(), game.path());
        const QString script = QStringLiteral("#INCLUDE common.iws\nBRA Shared\nCALL Far\nBRA Deep\n");
        QCOMPARE(hintsOf(script, std::ref(files)), QStringList{"4:5 " + QString(str::kHintNoLabel).arg("Deep")});

        // A missing include is reported, and a branch that may lead into it
        // says so instead of calling the label wrong.
        const QStringList missing = hintsOf(QStringLiteral("#INCLUDE gone.iws\nBRA Somewhere\n"), std::ref(files));
        QCOMPARE(missing.size(), 2);
        QVERIFY2(missing[0].startsWith("1:10 ") && missing[0].contains("gone.iws") &&
                     missing[0].contains(QDir::toNativeSeparators(game.path())),
                 qPrintable(missing[0]));
        QCOMPARE(missing[1], "2:5 " + QString(str::kHintNoLabelUnknownInclude).arg("Somewhere", "gone.iws"));

        // An include that includes itself ends.
        QVERIFY(writeFile(scripts.filePath(QStringLiteral("loop.iws")), "Round:\n#INCLUDE LOOP.IWS\n"));
        QCOMPARE(hintsOf(QStringLiteral("#INCLUDE loop.iws\nBRA Round\n"), std::ref(files)), QStringList{});
    }
};

QTEST_MAIN(TestIndex)
#include "tst_index.moc"
