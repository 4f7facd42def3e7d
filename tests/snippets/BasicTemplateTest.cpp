// The mission template must come out byte for byte the same in every build.
#include "snippets/BasicTemplate.h"

#include <QCryptographicHash>
#include <QTest>

class BasicTemplateTest : public QObject {
    Q_OBJECT
private slots:
    void exactBytes();
    void lineStructure();
};

void BasicTemplateTest::exactBytes()
{
    const QString text = BasicTemplate::text();
    // Every character is 7-bit, so Latin-1 and UTF-8 give the same bytes.
    for (QChar c : text)
        QVERIFY2(c.unicode() < 0x80, qPrintable(QString::number(c.unicode(), 16)));
    const QByteArray bytes = text.toLatin1();
    QCOMPARE(bytes, text.toUtf8());
    QCOMPARE(bytes.size(), 2861);
    QCOMPARE(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(),
             QByteArray("4f3d99caebb8884887d282aecb01e71af04000d727b8552e2b1d03f14adaec2e"));
}

void BasicTemplateTest::lineStructure()
{
    const QString text = BasicTemplate::text();
    QVERIFY(!text.contains(QLatin1Char('\r')));
    QVERIFY(text.endsWith(QLatin1String("\n\tEND\n")));
    QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.takeLast(), QString());  // after the last line feed
    QCOMPARE(lines.size(), 119);
    QCOMPARE(lines[0], QString());
    QCOMPARE(lines[118], QLatin1String("\tEND"));
    for (int i = 12; i <= 14; ++i) {
        const QString& line = lines[i];
        QVERIFY2(line.startsWith(QLatin1String("; ")), qPrintable(line));
        QVERIFY2(line.size() > 10, qPrintable(line));
        QCOMPARE(line, line.toUpper());
    }
    // Lines whose tabs and punctuation are easiest to get wrong.
    QCOMPARE(lines[5], QLatin1String("; (Mission Number) \t(Mission Name)"));
    QCOMPARE(lines[31], QLatin1String("\tREGLOAD\tDreadMd,\"\\psg\\resource\\shapes\\CorvAsm_rto.lwo\",LWO2BRM"));
    QCOMPARE(lines[62], QLatin1String("\tSYSTEM \t\t\"Sol\",\"L4\""));
    QCOMPARE(lines[88],
             QLatin1String(";\tBRIEFING\t\t\t; Uncomment this if you've created a briefing script for the mission."));
    QCOMPARE(lines[111], QLatin1String(";#INCLUDE brief??.scr"));
    QCOMPARE(lines[117], QLatin1String("End:"));
    for (const QString& line : lines)
        QVERIFY2(!line.endsWith(QLatin1Char(' ')) && !line.endsWith(QLatin1Char('\t')), qPrintable(line));
}

QTEST_APPLESS_MAIN(BasicTemplateTest)
#include "BasicTemplateTest.moc"
