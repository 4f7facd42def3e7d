// Script files are Windows-1252 bytes: every byte but the line ends comes
// back as it went in, line ends load as "\n" and save as CR LF, and a
// character with no byte is reported where it stands.
#include "platform/TextCodec.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void knownCharacters_data();
    void knownCharacters();
    void lineEndsLoad_data();
    void lineEndsLoad();
    void lineEndsSave();
    void characterWithoutByte_data();
    void characterWithoutByte();
    void readScriptFile();
};

void TestTextCodec::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n')
            continue;
        all += char(b);
        const QString one = textcodec::decode(QByteArray(1, char(b)));
        QCOMPARE(one.size(), 1);
        QCOMPARE(textcodec::decodeByte(uchar(b)), one[0]);
        const auto back = textcodec::encodeChar(one[0]);
        QVERIFY2(back && *back == uchar(b), qPrintable(QStringLiteral("byte 0x%1").arg(b, 2, 16)));
    }
    const QString text = textcodec::decode(all);
    QCOMPARE(text.size(), all.size());
    // No two bytes share a character.
    QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), text.size());
    const textcodec::EncodeResult r = textcodec::encode(text);
    QCOMPARE(r.badIndex, qsizetype(-1));
    QCOMPARE(r.bytes, all);
}

void TestTextCodec::knownCharacters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("tab") << 0x09 << 0x0009;
    QTest::newRow("quote") << 0x22 << 0x0022;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 0x81") << 0x81 << 0x0081;
    QTest::newRow("S caron") << 0x8A << 0x0160;
    QTest::newRow("left double quote") << 0x93 << 0x201C;
    QTest::newRow("undefined 0x9D") << 0x9D << 0x009D;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("sharp s") << 0xDF << 0x00DF;
    QTest::newRow("e acute") << 0xE9 << 0x00E9;
    QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
}

void TestTextCodec::knownCharacters()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    QCOMPARE(int(textcodec::decodeByte(uchar(byte)).unicode()), unicode);
    QCOMPARE(int(*textcodec::encodeChar(QChar(char16_t(unicode)))), byte);
}

void TestTextCodec::lineEndsLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n");
    QTest::newRow("LF") << QByteArray("a\nb\n") << QStringLiteral("a\nb\n");
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringLiteral("a\nb\n");
    QTest::newRow("mixed") << QByteArray("1\r\n2\n3\r4") << QStringLiteral("1\n2\n3\n4");
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n\n\r") << QStringLiteral("\n\n\n\n");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("8-bit and CR LF") << QByteArray("caf\xe9\r\n\x80") << QString::fromUtf8("caf\u00e9\n\u20ac");
}

void TestTextCodec::lineEndsLoad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(textcodec::decode(bytes), text);
}

void TestTextCodec::lineEndsSave()
{
    QCOMPARE(textcodec::encode(u"\n").bytes, QByteArray("\r\n"));
    QCOMPARE(textcodec::encode(u"WAIT 1\nEnd:\n\tEND").bytes, QByteArray("WAIT 1\r\nEnd:\r\n\tEND"));
    QCOMPARE(textcodec::encode(u"\n\n").bytes, QByteArray("\r\n\r\n"));
    // Saved and loaded again, a text with "\n" line ends is what it was.
    const QString text = QString::fromUtf8("; caf\u00e9\n\nPROMPT \"\u20ac\"\n");
    QCOMPARE(textcodec::decode(textcodec::encode(text).bytes), text);
}

void TestTextCodec::characterWithoutByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("index");
    QTest::newRow("CJK") << QString::fromUtf8("abc\u4e2d") << qsizetype(3);
    QTest::newRow("line separator") << QString::fromUtf8("\u2028x") << qsizetype(0);
    QTest::newRow("after line breaks") << QString::fromUtf8("a\nb\n\u0100") << qsizetype(4);
    QTest::newRow("first of several") << QString::fromUtf8("\u00e9\u0394\u4e2d") << qsizetype(1);
    QTest::newRow("emoji") << QString::fromUtf8("ok \U0001F600") << qsizetype(3);
}

void TestTextCodec::characterWithoutByte()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, index);
    const textcodec::EncodeResult r = textcodec::encode(text);
    QCOMPARE(r.badIndex, index);
    QVERIFY(!textcodec::encodeChar(text[index]));
}

void TestTextCodec::readScriptFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("attack run.iws"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("WAIT 1\r\n\xe9\r");
    }
    textcodec::ReadResult r = textcodec::readScriptFile(path);
    QVERIFY(r.error.isEmpty());
    QCOMPARE(r.text, QString::fromUtf8("WAIT 1\n\u00e9\n"));

    r = textcodec::readScriptFile(dir.filePath(QStringLiteral("missing.iws")));
    QVERIFY(!r.error.isEmpty());
    QVERIFY(r.text.isEmpty());
    r = textcodec::readScriptFile(dir.path());  // a folder is no script
    QVERIFY(!r.error.isEmpty());
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
