// The pictures the program loads: present, of the sizes and colour depths
// the toolbar, splash and About box rely on, and drawn on the button face
// that the toolbar makes transparent. And the help page beside them, which
// must keep up with the menus.
#include "resources/commands.h"
#include "resources/ids.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QKeySequence>
#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>

namespace {

QString bitmapPath(int id) { return QStringLiteral(":/bitmaps/%1.bmp").arg(id); }

struct BmpHeader {
    bool ok = false;
    qint32 width = 0;
    qint32 height = 0;
    quint16 bitsPerPixel = 0;
    quint32 compression = 0;
};

// The fields of the file and info headers, read from the bytes themselves:
// QImage converts on loading and would hide the depth stored in the file.
BmpHeader readHeader(const QString& path)
{
    BmpHeader h;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return h;
    const QByteArray b = f.read(54);
    if (b.size() < 54 || !b.startsWith("BM"))
        return h;
    const auto* d = reinterpret_cast<const uchar*>(b.constData());
    h.width = qFromLittleEndian<qint32>(d + 18);
    h.height = qFromLittleEndian<qint32>(d + 22);
    h.bitsPerPixel = qFromLittleEndian<quint16>(d + 28);
    h.compression = qFromLittleEndian<quint32>(d + 30);
    h.ok = qFromLittleEndian<quint32>(d + 14) >= 40;
    return h;
}

constexpr QRgb kFace = qRgb(192, 192, 192);

bool isFace(QRgb c) { return (c & 0xFFFFFF) == (kFace & 0xFFFFFF); }

}  // namespace

class TstArt : public QObject {
    Q_OBJECT
private slots:
    void bitmapsHaveTheirSizeAndDepth_data();
    void bitmapsHaveTheirSizeAndDepth();
    void splashAndAboutAreDifferentPictures();
    void toolbarStripsShareOneDrawing();
    void sixteenColourStripUsesTheClassicPalette();
    void iconsLoad_data();
    void iconsLoad();
    void iconGroupsHoldThreeSizes_data();
    void iconGroupsHoldThreeSizes();
    void helpPageNamesEveryMenuCommandAndKey();
};

void TstArt::bitmapsHaveTheirSizeAndDepth_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bits");
    QTest::newRow("103 splash") << ids::IDB_SPLASH << 450 << 150 << 24;
    QTest::newRow("133 about") << ids::IDB_ABOUT << 450 << 150 << 24;
    QTest::newRow("128 toolbar, 16 colours") << ids::IDB_TOOLBAR_16 << 192 << 15 << 4;
    QTest::newRow("134 toolbar, 24 bits") << ids::IDB_TOOLBAR_24 << 192 << 15 << 24;
}

void TstArt::bitmapsHaveTheirSizeAndDepth()
{
    QFETCH(int, id);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bits);

    const BmpHeader h = readHeader(bitmapPath(id));
    QVERIFY2(h.ok, qPrintable(bitmapPath(id)));
    QCOMPARE(h.width, width);
    QCOMPARE(h.height, height);  // positive: stored bottom-up, as every reader expects
    QCOMPARE(int(h.bitsPerPixel), bits);
    QCOMPARE(h.compression, 0u);

    const QImage img(bitmapPath(id));
    QVERIFY(!img.isNull());
    QCOMPARE(img.size(), QSize(width, height));
}

void TstArt::splashAndAboutAreDifferentPictures()
{
    const QImage splash = QImage(bitmapPath(ids::IDB_SPLASH)).convertToFormat(QImage::Format_RGB32);
    const QImage about = QImage(bitmapPath(ids::IDB_ABOUT)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(splash.size(), about.size());
    // Not the same picture twice, nor one with a few pixels touched.
    int differing = 0;
    for (int y = 0; y < splash.height(); ++y) {
        for (int x = 0; x < splash.width(); ++x) {
            if (splash.pixel(x, y) != about.pixel(x, y))
                ++differing;
        }
    }
    QVERIFY2(differing > splash.width() * splash.height() / 2, qPrintable(QString::number(differing)));
}

void TstArt::toolbarStripsShareOneDrawing()
{
    const QImage strip16 = QImage(bitmapPath(ids::IDB_TOOLBAR_16)).convertToFormat(QImage::Format_RGB32);
    const QImage strip24 = QImage(bitmapPath(ids::IDB_TOOLBAR_24)).convertToFormat(QImage::Format_RGB32);
    const int w = res::kToolbarImageWidth;
    const int h = res::kToolbarImageHeight;
    QCOMPARE(strip16.width(), w * res::kToolbarImageCount);
    QCOMPARE(strip16.height(), h);

    for (int i = 0; i < res::kToolbarImageCount; ++i) {
        int drawn = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = i * w; x < (i + 1) * w; ++x) {
                const bool face16 = isFace(strip16.pixel(x, y));
                // The face is transparent on the toolbar: a face pixel in one
                // strip only would be a hole in one of the two pictures.
                QVERIFY2(face16 == isFace(strip24.pixel(x, y)),
                         qPrintable(QStringLiteral("image %1 at %2,%3").arg(i).arg(x - i * w).arg(y)));
                if (!face16)
                    ++drawn;
            }
        }
        // Every button has a picture, and it stands on the face.
        QVERIFY2(drawn > 30, qPrintable(QStringLiteral("image %1 has %2 pixels").arg(i).arg(drawn)));
        QVERIFY2(drawn < w * h * 9 / 10, qPrintable(QStringLiteral("image %1 is nearly solid").arg(i)));
    }
}

void TstArt::sixteenColourStripUsesTheClassicPalette()
{
    const QList<QRgb> classic = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    const QImage strip = QImage(bitmapPath(ids::IDB_TOOLBAR_16)).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x)
            QVERIFY2(classic.contains(strip.pixel(x, y) | 0xFF000000), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }
}

void TstArt::iconsLoad_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    for (int id : {ids::IDR_MAINFRAME, ids::IDR_DOCTYPE_ICON}) {
        QTest::addRow("%d-48", id) << QStringLiteral(":/icons/%1.png").arg(id) << 48;
        QTest::addRow("%d-32", id) << QStringLiteral(":/icons/%1-32.png").arg(id) << 32;
        QTest::addRow("%d-16", id) << QStringLiteral(":/icons/%1-16.png").arg(id) << 16;
    }
}

void TstArt::iconsLoad()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    const QImage img(path);
    QVERIFY2(!img.isNull(), qPrintable(path));
    QCOMPARE(img.size(), QSize(size, size));
    QVERIFY(img.hasAlphaChannel());
    // Shaped, not square: see-through corners, solid middle.
    QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(img.pixel(size / 2, size / 2)), 255);
}

void TstArt::iconGroupsHoldThreeSizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("128") << QStringLiteral(":/icons/128.ico");
    QTest::newRow("129") << QStringLiteral(":/icons/129.ico");
}

void TstArt::iconGroupsHoldThreeSizes()
{
    QFETCH(QString, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    QVERIFY(b.size() > 6 + 3 * 16);
    const auto* d = reinterpret_cast<const uchar*>(b.constData());
    QCOMPARE(qFromLittleEndian<quint16>(d + 2), quint16(1));  // icon, not cursor
    QCOMPARE(qFromLittleEndian<quint16>(d + 4), quint16(3));
    QList<int> sizes;
    for (int i = 0; i < 3; ++i) {
        const uchar* e = d + 6 + 16 * i;
        sizes << e[0];
        const quint32 bytes = qFromLittleEndian<quint32>(e + 8);
        const quint32 offset = qFromLittleEndian<quint32>(e + 12);
        QVERIFY(offset + bytes <= quint32(b.size()));
    }
    QCOMPARE(sizes, (QList<int>{16, 32, 48}));

    if (QImageReader::supportedImageFormats().contains("ico")) {
        QImageReader reader(path);
        QCOMPARE(reader.imageCount(), 3);
        QVERIFY(!reader.read().isNull());
    }
}

void TstArt::helpPageNamesEveryMenuCommandAndKey()
{
    QFile f(QDir::cleanPath(QStringLiteral(VANTREL_TEST_DATA "/../../resources/VantrelHelp.html")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(f.readAll());
    QVERIFY(page.contains(QLatin1String("<meta charset=\"utf-8\">")));

    QStringList missing;
    QList<int> menuIds;
    for (const res::MenuEntry& e : res::mainMenu()) {
        QString text;
        if (e.kind == res::MenuEntry::PopupBegin) {
            text = QString::fromLatin1(e.text);
        } else if (e.kind == res::MenuEntry::Item) {
            menuIds << e.id;
            const res::CommandInfo* c = res::findCommand(e.id);
            QVERIFY(c && c->menuText);
            text = QString::fromLatin1(c->menuText);
        } else {
            continue;
        }
        text.remove(QLatin1Char('&'));
        const QStringList parts = text.split(QLatin1Char('\t'));
        for (const QString& part : parts) {
            if (!page.contains(part))
                missing << part;
        }
    }
    // Every key of a menu command, also the second keys that the menus do
    // not show (Alt+Backspace, Shift+Delete, ...).
    for (const res::Accelerator& a : res::mainAccelerators()) {
        if (!menuIds.contains(a.id))
            continue;
        QString key = QKeySequence(a.key).toString(QKeySequence::PortableText);
        key.replace(QRegularExpression(QStringLiteral("\\bDel$")), QStringLiteral("Delete"));
        key.replace(QRegularExpression(QStringLiteral("\\bIns$")), QStringLiteral("Insert"));
        if (!page.contains(QLatin1String("<kbd>") + key + QLatin1String("</kbd>")))
            missing << key;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String(", "))));
}

QTEST_MAIN(TstArt)
#include "tst_art.moc"
