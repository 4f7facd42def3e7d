// The HTML page of a script: read back, it gives the script's text exactly,
// and every character in the colour of its class as the literal passes
// colour the whole text; the title is escaped too.
#include "ReferenceHighlighter.h"

#include "editor/HtmlExport.h"
#include "platform/TextCodec.h"

#include <QtTest>

namespace {

QString hex(ColourRef c)
{
    return QStringLiteral("#%1").arg(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF), 6, 16, QLatin1Char('0'));
}

struct ReadBack {
    QString text;
    QStringList colours;  // one "#rrggbb" per character
    QString problem;
};

// The text and colours of the page's <pre>, which must consist of non-empty
// spans alone, each in another colour than the one before it.
ReadBack readBack(const QString& page)
{
    ReadBack r;
    const qsizetype open = page.indexOf(QLatin1String("<pre>"));
    const qsizetype close = page.lastIndexOf(QLatin1String("</pre>"));
    if (open < 0 || close < open)
        return {{}, {}, QStringLiteral("no <pre> element")};
    const QString pre = page.mid(open + 5, close - open - 5);
    static const QRegularExpression span(QStringLiteral("<span style=\"color:(#[0-9a-f]{6})\">([^<>\"]+)</span>"));
    qsizetype at = 0;
    for (auto it = span.globalMatch(pre); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedStart() != at)
            break;
        if (!r.colours.isEmpty() && r.colours.last() == m.captured(1))
            return {{}, {}, QStringLiteral("two spans in a row in %1").arg(m.captured(1))};
        QString text = m.captured(2);
        text.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
        text.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&amp;"), QLatin1String("&"));
        r.text += text;
        for (qsizetype i = 0; i < text.size(); ++i)
            r.colours << m.captured(1);
        at = m.capturedEnd();
    }
    if (at != pre.size())
        r.problem = QStringLiteral("not a span or an empty one: %1").arg(pre.mid(at, 80));
    return r;
}

}  // namespace

class TestHtmlExport : public QObject {
    Q_OBJECT
    ReferenceHighlighter m_ref;

private slots:
    void pageReadsBack_data()
    {
        QTest::addColumn<QString>("text");
        const QDir golden(QStringLiteral(VANTREL_TEST_DATA "/highlight"));
        for (const QString& name : golden.entryList({QStringLiteral("*.iws")}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << textcodec::readScriptFile(golden.filePath(name)).text;
        QTest::newRow("HTML signs") << QStringLiteral("PROMPT \"a & b < c > d\" ; <b>&amp;</b> \"\n&lt; 'x'");
        QTest::newRow("markup in a script") << QStringLiteral("</pre><script>alert(1)</script>\n; </span>");
        QTest::newRow("8-bit") << QString::fromUtf8("; caf\u00e9 \u20ac \u00df\n\u00e9WAIT WAIT\u20ac");
        QTest::newRow("tabs and blank lines") << QStringLiteral("\tWAIT\t1\n\n\n\tEND\n");
        QTest::newRow("one line break") << QStringLiteral("\n");
        QTest::newRow("empty") << QString();
    }

    void pageReadsBack()
    {
        QFETCH(QString, text);
        std::vector<std::uint8_t> classes;
        m_ref.highlight(text, 0, -1, classes);
        SyntaxColours distinct;  // six different colours
        // Classes that share a colour share its spans.
        SyntaxColours shared;
        shared.m_clrKeywords = shared.m_clrRegularText = shared.m_clrCommands;
        shared.m_clrLabels = 0x00ABCDEF;
        for (const SyntaxColours& colours : {distinct, shared}) {
            const QString page = HtmlExport::page(text, colours, QStringLiteral("a<b>&\"c\".iws"));
            QVERIFY(page.contains(QLatin1String("<title>a&lt;b&gt;&amp;&quot;c&quot;.iws</title>")));
            const ReadBack r = readBack(page);
            QVERIFY2(r.problem.isEmpty(), qPrintable(r.problem));
            QCOMPARE(r.text, text);
            for (qsizetype i = 0; i < text.size(); ++i) {
                const QString expected = hex(colours.forClass(TextClass(classes[std::size_t(i)])));
                QVERIFY2(r.colours[i] == expected,
                         qPrintable(QStringLiteral("character %1 ('%2') in %3, expected %4\n%5")
                                        .arg(i)
                                        .arg(text[i])
                                        .arg(r.colours[i], expected, styledText(text, classes))));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
