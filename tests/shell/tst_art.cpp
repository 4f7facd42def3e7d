// The pictures the program loads, the About box that shows one of them, and
// the help page beside them, which must keep up with the menus.
#include "resources/commands.h"
#include "resources/ids.h"
#include "shell/CAboutDlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <utility>

namespace {

QString bitmapPath(int id) { return QStringLiteral(":/bitmaps/%1.bmp").arg(id); }
QImage bitmap(int id) { return QImage(bitmapPath(id)).convertToFormat(QImage::Format_RGB32); }
bool isFace(QRgb c) { return (c & 0xFFFFFF) == (qRgb(192, 192, 192) & 0xFFFFFF); }

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TstArt : public QObject {
    Q_OBJECT
private slots:
    void bitmapsHaveTheirSizeAndDepth_data()
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
    void bitmapsHaveTheirSizeAndDepth()
    {
        QFETCH(int, id);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, bits);
        // From the headers themselves: QImage converts on loading and would
        // hide the depth stored in the file.
        const QByteArray b = fileBytes(bitmapPath(id));
        QVERIFY(b.size() > 54 && b.startsWith("BM"));
        const auto* d = reinterpret_cast<const uchar*>(b.constData());
        QVERIFY(qFromLittleEndian<quint32>(d + 14) >= 40);  // an info header
        QCOMPARE(qFromLittleEndian<qint32>(d + 18), width);
        QCOMPARE(qFromLittleEndian<qint32>(d + 22), height);  // positive: bottom-up
        QCOMPARE(int(qFromLittleEndian<quint16>(d + 28)), bits);
        QCOMPARE(qFromLittleEndian<quint32>(d + 30), 0u);  // uncompressed
        QCOMPARE(QImage(bitmapPath(id)).size(), QSize(width, height));
    }

    void splashAndAboutAreDifferentPictures()
    {
        const QImage splash = bitmap(ids::IDB_SPLASH);
        const QImage about = bitmap(ids::IDB_ABOUT);
        // Not the same picture twice, nor one with a few pixels touched.
        int differing = 0;
        for (int y = 0; y < splash.height(); ++y) {
            for (int x = 0; x < splash.width(); ++x)
                differing += splash.pixel(x, y) != about.pixel(x, y);
        }
        QVERIFY2(differing > splash.width() * splash.height() / 2, qPrintable(QString::number(differing)));
    }

    void toolbarStripsShareOneDrawingInClassicColours()
    {
        const QList<QRgb> classic = {
            qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
        };
        const QImage strip16 = bitmap(ids::IDB_TOOLBAR_16);
        const QImage strip24 = bitmap(ids::IDB_TOOLBAR_24);
        const int w = res::kToolbarImageWidth;
        for (int i = 0; i < res::kToolbarImageCount; ++i) {
            int drawn = 0;
            for (int y = 0; y < res::kToolbarImageHeight; ++y) {
                for (int x = i * w; x < (i + 1) * w; ++x) {
                    const QString at = QStringLiteral("image %1 at %2,%3").arg(i).arg(x - i * w).arg(y);
                    const QRgb c = strip16.pixel(x, y);
                    QVERIFY2(classic.contains(c | 0xFF000000), qPrintable(at));
                    // The face is transparent on the toolbar: a face pixel in
                    // one strip only would be a hole in one of the pictures.
                    QVERIFY2(isFace(c) == isFace(strip24.pixel(x, y)), qPrintable(at));
                    drawn += !isFace(c);
                }
            }
            QVERIFY2(drawn > 30 && drawn < w * res::kToolbarImageHeight * 9 / 10,
                     qPrintable(QStringLiteral("image %1: %2 pixels drawn").arg(i).arg(drawn)));
        }
    }

    void iconsLoad()
    {
        for (int id : {ids::IDR_MAINFRAME, ids::IDR_DOCTYPE_ICON}) {
            for (const auto& [suffix, size] : {std::pair{"", 48}, {"-32", 32}, {"-16", 16}}) {
                const QString path = QStringLiteral(":/icons/%1%2.png").arg(id).arg(QLatin1String(suffix));
                const QImage img(path);
                QVERIFY2(img.size() == QSize(size, size), qPrintable(path));
                // Shaped, not square: see-through corners, solid middle.
                QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
                QCOMPARE(qAlpha(img.pixel(size / 2, size / 2)), 255);
            }
            // The icon group: an icon, not a cursor, of three sizes.
            const QByteArray ico = fileBytes(QStringLiteral(":/icons/%1.ico").arg(id));
            QVERIFY(ico.size() > 6 + 3 * 16 && ico.startsWith(QByteArray("\0\0\1\0\3\0", 6)));
        }
    }

    void helpPageNamesEveryMenuCommandAndKey()
    {
        const QString page = QString::fromUtf8(
            fileBytes(QDir::cleanPath(QStringLiteral(VANTREL_TEST_DATA "/../../resources/VantrelHelp.html"))));
        QVERIFY(page.contains(QLatin1String("<meta charset=\"utf-8\">")));
        QStringList missing;
        QList<int> menuIds;
        for (const res::MenuEntry& e : res::mainMenu()) {
            QString text = e.kind == res::MenuEntry::PopupBegin ? QString::fromLatin1(e.text) : QString();
            if (e.kind == res::MenuEntry::Item) {
                menuIds << e.id;
                const res::CommandInfo* c = res::findCommand(e.id);
                QVERIFY(c && c->menuText);
                text = QString::fromLatin1(c->menuText);
            }
            // The menu text and the key shown beside it.
            for (const QString& part : text.remove(QLatin1Char('&')).split(QLatin1Char('\t'), Qt::SkipEmptyParts)) {
                if (!page.contains(part))
                    missing << part;
            }
        }
        // Every key of a menu command, also those the menus do not show
        // (Alt+Backspace, Shift+Delete, ...).
        for (const res::Accelerator& a : res::mainAccelerators()) {
            QString key = QKeySequence(a.key).toString(QKeySequence::PortableText);
            key.replace(QRegularExpression(QStringLiteral("\\bDel$")), QStringLiteral("Delete"));
            key.replace(QRegularExpression(QStringLiteral("\\bIns$")), QStringLiteral("Insert"));
            if (menuIds.contains(a.id) && !page.contains(QLatin1String("<kbd>") + key + QLatin1String("</kbd>")))
                missing << key;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String(", "))));
    }

    void aboutBoxShowsPicture133AndClosesWithOkEnterOrEscape()
    {
        QWidget frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        CAboutDlg dlg;  // no parent given: it belongs to the main window all the same
        QCOMPARE(dlg.parentWidget(), &frame);
        const Qt::WindowFlags flags = dlg.windowFlags();
        QVERIFY((flags & Qt::FramelessWindowHint) && !(flags & (Qt::WindowTitleHint | Qt::WindowSystemMenuHint)));
        QVERIFY(dlg.windowTitle().isEmpty());
        QVERIFY(dlg.picture());
        QCOMPARE(dlg.picture()->geometry(), QRect(0, 0, 450, 150));
        QCOMPARE(dlg.picture()->pixmap().toImage().convertToFormat(QImage::Format_RGB32), bitmap(ids::IDB_ABOUT));
        // Whatever the dialog font: the picture fills the width, and OK lies
        // below it, inside the box, right-aligned as the template places it.
        auto* ok = dlg.controlAs<QPushButton>(ids::IDOK);
        QVERIFY(ok && ok->isDefault());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(dlg.width(), 450);
        QVERIFY2(ok->geometry().top() >= 150, qPrintable(QString::number(ok->geometry().top())));
        QVERIFY(dlg.rect().contains(ok->geometry()));
        const int rightMargin = dlg.width() - 1 - ok->geometry().right();
        QVERIFY2(rightMargin >= 2 && rightMargin <= 20, qPrintable(QString::number(rightMargin)));

        // Closed by a click on OK (key 0), Enter or Escape.
        for (const auto& [key, result] :
             {std::pair{0, ids::IDOK}, {Qt::Key_Enter, ids::IDOK}, {Qt::Key_Escape, ids::IDCANCEL}}) {
            QWidget* modal = nullptr;
            QTimer::singleShot(0, &dlg, [&, key = key] {
                QTRY_VERIFY(dlg.isVisible());
                modal = QApplication::activeModalWidget();
                if (key)
                    QTest::keyClick(&dlg, Qt::Key(key));
                else
                    QTest::mouseClick(ok, Qt::LeftButton);
            });
            // A box that ignored the input would keep DoModal running: fail, not hang.
            QTimer timeout;
            timeout.callOnTimeout(&dlg, [&] { dlg.done(-1); });
            timeout.start(5000);
            QCOMPARE(dlg.DoModal(), int(result));
            QCOMPARE(modal, &dlg);
            QVERIFY(!dlg.isVisible());
        }
    }
};

QTEST_MAIN(TstArt)
#include "tst_art.moc"
