// Script files are Windows-1252 bytes: every byte but the line ends comes
// back as it went in, line ends load as "\n" and save as CR LF, and a
// character with no byte is reported where it stands.
#include "platform/TextCodec.h"

#include <QtTest>

class TestTextCodec : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b == '\r' || b == '\n')
                continue;
            all += char(b);
            const QChar c = textcodec::decodeByte(uchar(b));
            QCOMPARE(textcodec::decode(QByteArray(1, char(b))), QString(c));
            const auto back = textcodec::encodeChar(c);
            QVERIFY2(back && *back == uchar(b), qPrintable(QStringLiteral("byte 0x%1").arg(b, 2, 16)));
        }
        const QString text = textcodec::decode(all);
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), all.size());  // no two bytes share a character
        const textcodec::EncodeResult r = textcodec::encode(text);
        QCOMPARE(r.badIndex, qsizetype(-1));
        QCOMPARE(r.bytes, all);

        // Where Windows-1252 is not Latin-1, and at its edges; the five bytes
        // it leaves undefined keep their value.
        const std::pair<int, char16_t> known[] = {{0x09, 0x0009}, {0x80, 0x20AC}, {0x81, 0x0081},
                                                  {0x8A, 0x0160}, {0x93, 0x201C}, {0x9D, 0x009D},
                                                  {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xFF, 0x00FF}};
        for (const auto& [byte, unicode] : known)
            QCOMPARE(textcodec::decodeByte(uchar(byte)), QChar(unicode));
    }

    void lineEnds()
    {
        const std::pair<QByteArray, QString> loads[] = {
            {"a\r\nb\r\n", "a\nb\n"},
            {"a\nb\n", "a\nb\n"},
            {"a\rb\r", "a\nb\n"},  // CR LF, LF, lone CR
            {"1\r\n2\n3\r4", "1\n2\n3\n4"},
            {"a\r\r\nb", "a\n\nb"},
            {"a\n\rb", "a\n\nb"},
            {"", ""},
            {"caf\xe9\r\n\x80", QString::fromUtf8("caf\u00e9\n\u20ac")},
        };
        for (const auto& [bytes, text] : loads)
            QCOMPARE(textcodec::decode(bytes), text);
        QCOMPARE(textcodec::encode(u"WAIT 1\nEnd:\n\n\tEND").bytes, QByteArray("WAIT 1\r\nEnd:\r\n\r\n\tEND"));
        const QString text = QString::fromUtf8("; caf\u00e9\n\nPROMPT \"\u20ac\"\n");
        QCOMPARE(textcodec::decode(textcodec::encode(text).bytes), text);
    }

    void characterWithoutByte()
    {
        const std::pair<QString, qsizetype> cases[] = {
            {QString::fromUtf8("abc\u4e2d"), 3},           // CJK
            {QString::fromUtf8("\u2028x"), 0},             // line separator
            {QString::fromUtf8("a\nb\n\u0100"), 4},        // counted in characters, not bytes
            {QString::fromUtf8("\u00e9\u0394\u4e2d"), 1},  // the first of several
            {QString::fromUtf8("ok \U0001F600"), 3},       // half of a surrogate pair
        };
        for (const auto& [text, index] : cases) {
            QCOMPARE(textcodec::encode(text).badIndex, index);
            QVERIFY(!textcodec::encodeChar(text[index]));
        }
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
