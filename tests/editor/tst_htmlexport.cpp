// The HTML page of a script: read back, it gives the script's text exactly,
// and every character in the colour of its class as the literal passes
// colour the whole text.
#include "ReferenceHighlighter.h"

#include "editor/HtmlExport.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

namespace {

QString unescape(QString s)
{
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

QString hex(ColourRef c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

struct ReadBack {
    QString text;
    QStringList colours;  // one "#rrggbb" per character
    QString problem;
};

ReadBack readBack(const QString& page)
{
    ReadBack r;
    const qsizetype open = page.indexOf(QLatin1String("<pre>"));
    const qsizetype close = page.lastIndexOf(QLatin1String("</pre>"));
    if (open < 0 || close < open) {
        r.problem = QStringLiteral("no <pre> element");
        return r;
    }
    const QString pre = page.mid(open + 5, close - open - 5);
    static const QRegularExpression span(QStringLiteral("<span style=\"color:(#[0-9a-f]{6})\">([^<]*)</span>"));
    qsizetype at = 0;
    for (auto it = span.globalMatch(pre); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedStart() != at) {
            r.problem = QStringLiteral("text outside the spans: %1").arg(pre.mid(at, m.capturedStart() - at));
            return r;
        }
        const QString raw = m.captured(2);
        if (raw.contains(QLatin1Char('>')) || raw.contains(QLatin1Char('"'))) {
            r.problem = QStringLiteral("unescaped sign in %1").arg(raw);
            return r;
        }
        const QString text = unescape(raw);
        if (text.isEmpty()) {
            r.problem = QStringLiteral("empty span");
            return r;
        }
        r.text += text;
        for (qsizetype i = 0; i < text.size(); ++i)
            r.colours << m.captured(1);
        at = m.capturedEnd();
    }
    if (at != pre.size())
        r.problem = QStringLiteral("text outside the spans: %1").arg(pre.mid(at));
    return r;
}

}  // namespace

class TestHtmlExport : public QObject {
    Q_OBJECT

private slots:
    void pageReadsBack_data();
    void pageReadsBack();
    void titleAndFrame();

private:
    ReferenceHighlighter m_ref;
};

void TestHtmlExport::pageReadsBack_data()
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

void TestHtmlExport::pageReadsBack()
{
    QFETCH(QString, text);
    SyntaxColours colours;  // six different colours
    const ReadBack r = readBack(HtmlExport::page(text, colours, QStringLiteral("x.iws")));
    QVERIFY2(r.problem.isEmpty(), qPrintable(r.problem));
    QCOMPARE(r.text, text);

    std::vector<std::uint8_t> classes;
    m_ref.highlight(text, 0, -1, classes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString expected = hex(colours.forClass(TextClass(classes[std::size_t(i)])));
        QVERIFY2(r.colours[i] == expected, qPrintable(QStringLiteral("character %1 ('%2') in %3, expected %4\n%5")
                                                          .arg(i)
                                                          .arg(text[i])
                                                          .arg(r.colours[i], expected,
                                                               styledText(text, classes))));
    }

    // Two classes in one colour still give every character its colour.
    SyntaxColours same;
    same.m_clrKeywords = same.m_clrCommands;
    same.m_clrLabels = 0x00ABCDEF;
    const ReadBack s = readBack(HtmlExport::page(text, same, QStringLiteral("x.iws")));
    QVERIFY2(s.problem.isEmpty(), qPrintable(s.problem));
    QCOMPARE(s.text, text);
    for (qsizetype i = 0; i < text.size(); ++i)
        QCOMPARE(s.colours[i], hex(same.forClass(TextClass(classes[std::size_t(i)]))));
}

void TestHtmlExport::titleAndFrame()
{
    SyntaxColours colours;
    const QString page = HtmlExport::page(u"WAIT 1\n", colours, QStringLiteral("a<b>&\"c\".iws"));
    QVERIFY(page.startsWith(QLatin1String("<!DOCTYPE html>\n")));
    QVERIFY(page.contains(QLatin1String("<meta charset=\"utf-8\">")));
    QVERIFY2(page.contains(QLatin1String("<title>a&lt;b&gt;&amp;&quot;c&quot;.iws</title>")), qPrintable(page));
    QVERIFY(page.endsWith(QLatin1String("</html>\n")));
    QCOMPARE(page.count(QLatin1String("<pre>")), 1);
    // 0x00BBGGRR shows as #rrggbb.
    colours.m_clrCommands = 0x00123456;
    QVERIFY(HtmlExport::page(u"WAIT", colours, QStringLiteral("t")).contains(QLatin1String("color:#563412\">WAIT<")));
}

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
