// Help > About: a picture and OK in a box without a title bar, modal over
// the main window; OK, Enter and Escape close it.
#include "shell/CAboutDlg.h"

#include "resources/ids.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>

class TstAbout : public QObject {
    Q_OBJECT
private slots:
    void hasNoTitleBarAndHoldsThePicture();
    void buttonSitsBelowThePicture();
    void closesWith_data();
    void closesWith();
    void isModalAndCentredOverTheMainWindow();
};

void TstAbout::hasNoTitleBarAndHoldsThePicture()
{
    CAboutDlg dlg;
    const Qt::WindowFlags flags = dlg.windowFlags();
    QVERIFY(flags & Qt::FramelessWindowHint);
    QVERIFY(!(flags & Qt::WindowTitleHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(dlg.windowTitle().isEmpty());

    QLabel* picture = dlg.picture();
    QVERIFY(picture);
    QCOMPARE(picture->pixmap().size(), QSize(450, 150));
    QCOMPARE(picture->geometry(), QRect(0, 0, 450, 150));
    // Bitmap 133, not the splash's 103.
    const QImage shown = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, QImage(QStringLiteral(":/bitmaps/133.bmp")).convertToFormat(QImage::Format_RGB32));
}

void TstAbout::buttonSitsBelowThePicture()
{
    CAboutDlg dlg;
    auto* ok = dlg.controlAs<QPushButton>(ids::IDOK);
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    // Whatever the dialog font: the picture fills the width, with no empty
    // strip beside it; the button covers none of it and lies inside the box,
    // right-aligned as the template places it.
    QCOMPARE(dlg.width(), 450);
    QVERIFY2(ok->geometry().top() >= 150, qPrintable(QString::number(ok->geometry().top())));
    QVERIFY(dlg.rect().contains(ok->geometry()));
    QVERIFY(dlg.height() >= 150 + ok->height());
    const int rightMargin = dlg.width() - 1 - ok->geometry().right();
    QVERIFY2(rightMargin >= 2 && rightMargin <= 20, qPrintable(QString::number(rightMargin)));
}

void TstAbout::closesWith_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << 0 << int(ids::IDOK);
    QTest::newRow("Enter") << 1 << int(ids::IDOK);
    QTest::newRow("Return") << 2 << int(ids::IDOK);
    QTest::newRow("Escape") << 3 << int(ids::IDCANCEL);
}

void TstAbout::closesWith()
{
    QFETCH(int, how);
    QFETCH(int, result);

    CAboutDlg dlg;
    bool acted = false;
    QTimer::singleShot(0, &dlg, [&] {
        QTRY_VERIFY(dlg.isVisible());
        switch (how) {
        case 0:
            QTest::mouseClick(dlg.controlAs<QPushButton>(ids::IDOK), Qt::LeftButton);
            break;
        case 1:
            QTest::keyClick(&dlg, Qt::Key_Enter);
            break;
        case 2:
            QTest::keyClick(&dlg, Qt::Key_Return);
            break;
        default:
            QTest::keyClick(&dlg, Qt::Key_Escape);
            break;
        }
        acted = true;
    });
    // A box that ignored the input would keep DoModal running; end it after a
    // while so that the test fails instead of hanging.
    QTimer::singleShot(5000, &dlg, [&] { dlg.done(-1); });
    QCOMPARE(dlg.DoModal(), result);
    QVERIFY(acted);
    QVERIFY(!dlg.isVisible());
}

void TstAbout::isModalAndCentredOverTheMainWindow()
{
    QMainWindow frame;
    frame.setGeometry(QRect(frame.screen()->availableGeometry().topLeft() + QPoint(40, 30), QSize(800, 600)));
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));

    // No parent given: the box belongs to the main window all the same.
    CAboutDlg dlg;
    QCOMPARE(dlg.parentWidget(), &frame);
    QWidget* modal = nullptr;
    QPoint offset;
    QTimer::singleShot(0, &dlg, [&] {
        QTRY_VERIFY(dlg.isVisible());
        modal = QApplication::activeModalWidget();
        offset = dlg.frameGeometry().center() - frame.frameGeometry().center();
        static_cast<QDialog&>(dlg).accept();
    });
    QTimer::singleShot(5000, &dlg, [&] { dlg.done(-1); });
    dlg.DoModal();
    QCOMPARE(modal, &dlg);
    QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
