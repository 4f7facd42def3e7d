// The start-up picture's life: when it shows, what ends it, and that the
// press which ends it goes no further.
#include "shell/CSplashWnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A main window with what a stray press could reach: a text field, a
// button, a shortcut and a menu with a mnemonic.
struct Frame {
    QMainWindow window;
    QLineEdit* line = new QLineEdit;
    QPushButton* button = new QPushButton(QStringLiteral("Press"));
    QMenu* fileMenu = window.menuBar()->addMenu(QStringLiteral("&File"));
    int triggered = 0;
    int clicked = 0;

    Frame()
    {
        auto* central = new QWidget(&window);
        auto* layout = new QVBoxLayout(central);
        layout->addWidget(line);
        layout->addWidget(button);
        window.setCentralWidget(central);
        fileMenu->addAction(QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { ++triggered; });
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicked; });
        window.resize(500, 400);
    }

    // Shows the frame with the splash over it, as start-up does.
    bool showWithSplash()
    {
        CSplashWnd::ShowSplash(&window);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        // Some platforms hand the focus to the splash; the user's keys go
        // to the main window all the same.
        window.activateWindow();
        QTest::qWait(20);
        line->setFocus();
        return QApplication::activeWindow() == &window && CSplashWnd::isShown();
    }

    // A key going down and up through the window system, as a keyboard
    // sends it: modifiers already held send no presses of their own.
    void key(Qt::Key key, Qt::KeyboardModifiers mods, const QString& text)
    {
        QTest::simulateEvent(window.windowHandle(), true, key, mods, text, false);
        QTest::simulateEvent(window.windowHandle(), false, key, mods, text, false);
    }
    QPoint at(QWidget* w) const { return w->mapTo(&window, w->rect().center()); }
};

}  // namespace

class TstSplash : public QObject {
    Q_OBJECT

public:
    // As the program's own event filter: every event goes to the splash first.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return CSplashWnd::FilterAppMessage(watched, event) || QObject::eventFilter(watched, event);
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(CSplashWnd::timeout(), 2200);
        qApp->installEventFilter(this);
    }
    void init()
    {
        CSplashWnd::resetForTesting();
        CSplashWnd::EnableSplash(true);
        CSplashWnd::setTimeout(60000);  // no test sees it end by itself unless it asks to
    }
    void cleanup()
    {
        CSplashWnd::resetForTesting();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void showsThePictureCentredAtMostOnce()
    {
        auto owner = std::make_unique<QWidget>();
        CSplashWnd::ShowSplash(owner.get());
        QPointer<CSplashWnd> splash = CSplashWnd::splashWindow();
        QVERIFY(splash && splash->isVisible() && splash->isWindow());
        QVERIFY(!owner->isVisible());  // before the frame itself
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash->size(), QSize(450, 150));
        const QPoint offset = splash->geometry().center() - owner->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        const QImage shot = splash->grab().toImage();
        const QImage bitmap = QImage(QStringLiteral(":/bitmaps/103.bmp")).convertToFormat(shot.format());
        QCOMPARE(shot.pixel(225, 40), bitmap.pixel(225, 40));
        QCOMPARE(shot.pixel(10, 140), bitmap.pixel(10, 140));

        // A second request, while it is up or after it has gone, shows no other.
        CSplashWnd::ShowSplash(owner.get());
        QCOMPARE(CSplashWnd::splashWindow(), splash);
        QCOMPARE(owner->findChildren<CSplashWnd*>().size(), 1);
        owner.reset();  // an owner that goes first takes the splash along
        QVERIFY(splash.isNull() && !CSplashWnd::isShown());
        QWidget second;
        CSplashWnd::ShowSplash(&second);
        QVERIFY(!CSplashWnd::isShown());
        // Nor any when start-up asks for none (-Embedding).
        CSplashWnd::resetForTesting();
        CSplashWnd::EnableSplash(false);
        CSplashWnd::ShowSplash(&second);
        QVERIFY(!CSplashWnd::isShown() && !second.findChild<CSplashWnd*>());
    }

    void goesAfterItsTime()
    {
        CSplashWnd::setTimeout(150);
        Frame f;
        QVERIFY(f.showWithSplash());
        QPointer<CSplashWnd> splash = CSplashWnd::splashWindow();
        QTRY_VERIFY_WITH_TIMEOUT(!CSplashWnd::isShown(), 3000);
        QTRY_VERIFY(splash.isNull());
        // Once gone it filters nothing.
        QTest::keyClicks(f.line, QStringLiteral("ok"));
        QCOMPARE(f.line->text(), QStringLiteral("ok"));
    }

    void pressDismissesAndIsSwallowed_data()
    {
        // A key, or else a mouse button on a button of the frame (where 0),
        // on the splash (1) or on the frame's title bar (2).
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("where");
        const int none = Qt::NoModifier;
        const int shift = Qt::ShiftModifier;
        const int alt = Qt::AltModifier;
        QTest::newRow("letter") << int(Qt::Key_A) << none << QStringLiteral("a") << 0 << 0;
        QTest::newRow("capital, Shift held") << int(Qt::Key_Q) << shift << QStringLiteral("Q") << 0 << 0;
        QTest::newRow("Return") << int(Qt::Key_Return) << none << QStringLiteral("\r") << 0 << 0;
        QTest::newRow("shortcut Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << QString(QChar(14)) << 0 << 0;
        QTest::newRow("mnemonic Alt+F") << int(Qt::Key_F) << alt << QStringLiteral("f") << 0 << 0;
        QTest::newRow("Alt alone") << int(Qt::Key_Alt) << alt << QString() << 0 << 0;
        QTest::newRow("left button") << 0 << none << QString() << int(Qt::LeftButton) << 0;
        QTest::newRow("right button") << 0 << none << QString() << int(Qt::RightButton) << 0;
        QTest::newRow("middle button") << 0 << none << QString() << int(Qt::MiddleButton) << 0;
        QTest::newRow("click on the splash") << 0 << none << QString() << int(Qt::LeftButton) << 1;
        QTest::newRow("click on the title bar") << 0 << none << QString() << int(Qt::LeftButton) << 2;
    }
    void pressDismissesAndIsSwallowed()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, button);
        QFETCH(int, where);
        const auto b = Qt::MouseButton(button);
        Frame f;
        QVERIFY(f.showWithSplash());
        if (key) {
            f.key(Qt::Key(key), Qt::KeyboardModifiers(modifiers), text);
        } else if (where == 0) {
            QTest::mouseClick(f.window.windowHandle(), b, {}, f.at(f.button));
        } else if (where == 1) {
            QTest::mouseClick(CSplashWnd::splashWindow()->windowHandle(), b, {}, QPoint(20, 20));
        } else {
            QMouseEvent edge(QEvent::NonClientAreaMouseButtonPress, QPointF(5, -5), QPointF(5, -5), b, b, {});
            QVERIFY(QCoreApplication::sendEvent(&f.window, &edge));
        }
        QVERIFY(!CSplashWnd::isShown());
        // It went no further: no character, shortcut, menu, click or focus change.
        QTest::qWait(50);
        QCOMPARE(f.line->text(), QString());
        QCOMPARE(f.triggered + f.clicked, 0);
        QVERIFY(f.line->hasFocus() && !QApplication::activePopupWidget() && !f.fileMenu->isVisible());
        // The next presses go where they always go.
        f.key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        f.key(Qt::Key_N, Qt::ControlModifier, QString(QChar(0x0e)));
        QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, {}, f.at(f.button));
        QCOMPARE(f.line->text(), QStringLiteral("x"));
        QCOMPARE(f.triggered, 1);
        QCOMPARE(f.clicked, 1);
    }

    void movesReleasesAndDoubleClicksLeaveItUp()
    {
        Frame f;
        QVERIFY(f.showWithSplash());
        QWindow* handle = f.window.windowHandle();
        QTest::mouseMove(handle, f.at(f.button));
        QTest::mouseMove(handle, f.at(f.line));
        QTest::simulateEvent(handle, false, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), false);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, f.at(f.button));
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(3, 3), f.button->mapToGlobal(QPointF(3, 3)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.button, &dbl);
        QWheelEvent wheel(QPointF(3, 3), f.line->mapToGlobal(QPointF(3, 3)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.line, &wheel);
        QTest::qWait(20);
        QVERIFY(CSplashWnd::isShown());
    }
};

QTEST_MAIN(TstSplash)
#include "tst_splash.moc"
