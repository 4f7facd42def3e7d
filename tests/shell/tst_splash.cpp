// The start-up picture's life: when it shows, what ends it, and that the
// press which ends it goes no further.
#include "shell/CSplashWnd.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// The program's own event filter hands every event to the splash first.
class AppFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return CSplashWnd::FilterAppMessage(watched, event) || QObject::eventFilter(watched, event);
    }
};

// A main window with the things a stray press could reach: a text field, a
// button, a shortcut and a menu with a mnemonic.
struct Frame {
    QMainWindow window;
    QLineEdit* line = nullptr;
    QPlainTextEdit* text = nullptr;
    QPushButton* button = nullptr;
    QAction* newAction = nullptr;
    QMenu* fileMenu = nullptr;
    int triggered = 0;
    int clicked = 0;

    Frame()
    {
        auto* central = new QWidget(&window);
        auto* layout = new QVBoxLayout(central);
        line = new QLineEdit(central);
        text = new QPlainTextEdit(central);
        button = new QPushButton(QStringLiteral("Press"), central);
        layout->addWidget(line);
        layout->addWidget(text);
        layout->addWidget(button);
        window.setCentralWidget(central);
        fileMenu = window.menuBar()->addMenu(QStringLiteral("&File"));
        newAction = fileMenu->addAction(QStringLiteral("&New"));
        newAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
        QObject::connect(newAction, &QAction::triggered, [this] { ++triggered; });
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
        if (QApplication::activeWindow() != &window)
            return false;
        line->setFocus();
        return CSplashWnd::isShown();
    }
};

// A key going down and up through the window system, as a keyboard sends
// it: modifiers already held send no presses of their own.
void pressAndRelease(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods, const QString& text)
{
    QWindow* handle = window->windowHandle();
    QTest::simulateEvent(handle, true, key, mods, text, false);
    QTest::simulateEvent(handle, false, key, mods, text, false);
}

// A click as the window system delivers it: to the window under the mouse,
// which passes it on to the widget.
void clickThroughWindow(QWidget* widget, Qt::MouseButton button)
{
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), button, {}, widget->mapTo(top, widget->rect().center()));
}

}  // namespace

class TstSplash : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsTheBitmapCentredWithoutFrame();
    void goesAfterItsTimeAndIsDestroyed();
    void keyPressDismissesAndIsSwallowed_data();
    void keyPressDismissesAndIsSwallowed();
    void modifierPressEndsItAndTheKeyAfterActs();
    void mouseButtonPressDismissesAndIsSwallowed_data();
    void mouseButtonPressDismissesAndIsSwallowed();
    void pressOnTheSplashOrAFrameEdgeDismisses();
    void movesReleasesAndDoubleClicksLeaveItUp();
    void disabledShowsNothing();
    void shownAtMostOnce();
    void ownerDestroyedWhileShown();

private:
    AppFilter m_filter;
};

void TstSplash::initTestCase()
{
    QCOMPARE(CSplashWnd::timeout(), 2200);
    qApp->installEventFilter(&m_filter);
}

void TstSplash::init()
{
    CSplashWnd::resetForTesting();
    CSplashWnd::EnableSplash(true);
    // Long enough that no test sees it end by itself unless it asks to.
    CSplashWnd::setTimeout(60000);
}

void TstSplash::cleanup()
{
    CSplashWnd::resetForTesting();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TstSplash::showsTheBitmapCentredWithoutFrame()
{
    QWidget owner;
    CSplashWnd::ShowSplash(&owner);
    QVERIFY(CSplashWnd::isShown());
    CSplashWnd* splash = CSplashWnd::splashWindow();
    QVERIFY(splash);
    QVERIFY(splash->isVisible());
    QVERIFY(splash->isWindow());
    QVERIFY(!owner.isVisible());  // before the frame itself
    QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash->size(), QSize(450, 150));

    const QRect area = owner.screen()->availableGeometry();
    const QPoint offset = splash->geometry().center() - area.center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

    // It shows the picture, not an empty window.
    const QImage shot = splash->grab().toImage();
    const QImage bitmap = QImage(QStringLiteral(":/bitmaps/103.bmp")).convertToFormat(shot.format());
    QCOMPARE(shot.pixel(225, 40), bitmap.pixel(225, 40));
    QCOMPARE(shot.pixel(10, 140), bitmap.pixel(10, 140));
}

void TstSplash::goesAfterItsTimeAndIsDestroyed()
{
    CSplashWnd::setTimeout(150);
    Frame f;
    QVERIFY(f.showWithSplash());
    QPointer<CSplashWnd> splash = CSplashWnd::splashWindow();
    QVERIFY(splash);
    QTRY_VERIFY_WITH_TIMEOUT(!CSplashWnd::isShown(), 3000);
    QTRY_VERIFY(splash.isNull());
    // Once gone it filters nothing: keys reach their targets.
    QTest::keyClicks(f.line, QStringLiteral("ok"));
    QCOMPARE(f.line->text(), QStringLiteral("ok"));
}

void TstSplash::keyPressDismissesAndIsSwallowed_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << QStringLiteral("a");
    QTest::newRow("capital, Shift held") << int(Qt::Key_Q) << int(Qt::ShiftModifier) << QStringLiteral("Q");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << QStringLiteral("\r");
    QTest::newRow("shortcut Ctrl+N, Ctrl held") << int(Qt::Key_N) << int(Qt::ControlModifier)
                                                << QString(QChar(0x0e));
    QTest::newRow("menu mnemonic Alt+F, Alt held") << int(Qt::Key_F) << int(Qt::AltModifier) << QStringLiteral("f");
    QTest::newRow("Alt alone") << int(Qt::Key_Alt) << int(Qt::AltModifier) << QString();
}

void TstSplash::keyPressDismissesAndIsSwallowed()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    const auto mods = Qt::KeyboardModifiers(modifiers);

    Frame f;
    QVERIFY(f.showWithSplash());
    pressAndRelease(&f.window, Qt::Key(key), mods, text);
    QVERIFY(!CSplashWnd::isShown());
    QTest::qWait(50);
    QCOMPARE(f.line->text(), QString());
    QCOMPARE(f.triggered, 0);
    QVERIFY(!QApplication::activePopupWidget());
    QVERIFY(!f.fileMenu->isVisible());

    // The next key goes where it always goes: the menu bar took no focus
    // and the shortcut still works.
    pressAndRelease(&f.window, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCOMPARE(f.line->text(), QStringLiteral("x"));
    pressAndRelease(&f.window, Qt::Key_N, Qt::ControlModifier, QString(QChar(0x0e)));
    QCOMPARE(f.triggered, 1);
}

void TstSplash::modifierPressEndsItAndTheKeyAfterActs()
{
    Frame f;
    QVERIFY(f.showWithSplash());
    // Ctrl goes down first and ends the splash; N, pressed after the splash
    // has gone, is an ordinary key again.
    QTest::keyClick(&f.window, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(!CSplashWnd::isShown());
    QTest::qWait(20);
    QCOMPARE(f.triggered, 1);
}

void TstSplash::mouseButtonPressDismissesAndIsSwallowed_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("left") << int(Qt::LeftButton);
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TstSplash::mouseButtonPressDismissesAndIsSwallowed()
{
    QFETCH(int, button);
    const auto b = Qt::MouseButton(button);

    Frame f;
    QVERIFY(f.showWithSplash());
    clickThroughWindow(f.button, b);
    QVERIFY(!CSplashWnd::isShown());
    // Neither the press nor the release that follows it clicked the button,
    // and the press took no focus.
    QTest::qWait(20);
    QCOMPARE(f.clicked, 0);
    QVERIFY(f.line->hasFocus());

    if (b == Qt::LeftButton) {
        clickThroughWindow(f.button, b);
        QCOMPARE(f.clicked, 1);
        QVERIFY(f.button->hasFocus());
    }
}

void TstSplash::pressOnTheSplashOrAFrameEdgeDismisses()
{
    {
        Frame f;
        QVERIFY(f.showWithSplash());
        QTest::mouseClick(CSplashWnd::splashWindow()->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(!CSplashWnd::isShown());
    }
    CSplashWnd::resetForTesting();
    {
        Frame f;
        QVERIFY(f.showWithSplash());
        // A press on the title bar or a border of one of the program's windows.
        QMouseEvent edge(QEvent::NonClientAreaMouseButtonPress, QPointF(5, -5), QPointF(5, -5), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QVERIFY(QCoreApplication::sendEvent(&f.window, &edge));
        QVERIFY(!CSplashWnd::isShown());
    }
}

void TstSplash::movesReleasesAndDoubleClicksLeaveItUp()
{
    Frame f;
    QVERIFY(f.showWithSplash());
    QWindow* handle = f.window.windowHandle();
    QTest::mouseMove(handle, f.button->mapTo(&f.window, QPoint(3, 3)));
    QTest::mouseMove(handle, f.text->mapTo(&f.window, QPoint(5, 5)));
    QTest::simulateEvent(handle, false, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), false);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, f.button->mapTo(&f.window, QPoint(3, 3)));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(3, 3), f.button->mapToGlobal(QPointF(3, 3)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.button, &dbl);
    QWheelEvent wheel(QPointF(3, 3), f.text->mapToGlobal(QPointF(3, 3)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(f.text->viewport(), &wheel);
    QTest::qWait(20);
    QVERIFY(CSplashWnd::isShown());
}

void TstSplash::disabledShowsNothing()
{
    CSplashWnd::EnableSplash(false);
    Frame f;
    CSplashWnd::ShowSplash(&f.window);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.line->setFocus();
    QVERIFY(!CSplashWnd::isShown());
    QVERIFY(!CSplashWnd::splashWindow());
    const auto splashes = QApplication::topLevelWidgets();
    for (QWidget* w : splashes)
        QVERIFY(!qobject_cast<CSplashWnd*>(w));
    QTest::keyClick(f.line, Qt::Key_A);
    QCOMPARE(f.line->text(), QStringLiteral("a"));
}

void TstSplash::shownAtMostOnce()
{
    QWidget owner;
    CSplashWnd::ShowSplash(&owner);
    CSplashWnd* first = CSplashWnd::splashWindow();
    QVERIFY(first);
    // A second request while it is up makes no second window.
    CSplashWnd::ShowSplash(&owner);
    QCOMPARE(CSplashWnd::splashWindow(), first);
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<CSplashWnd*>(w) && w->isVisible())
            ++count;
    }
    QCOMPARE(count, 1);

    first->HideSplash();
    QVERIFY(!CSplashWnd::isShown());
    // Nor does a request after it has gone: one splash per run.
    QWidget second;
    CSplashWnd::ShowSplash(&second);
    QVERIFY(!CSplashWnd::isShown());
}

void TstSplash::ownerDestroyedWhileShown()
{
    auto* owner = new QWidget;
    CSplashWnd::ShowSplash(owner);
    QPointer<CSplashWnd> splash = CSplashWnd::splashWindow();
    QVERIFY(splash);
    delete owner;
    QVERIFY(splash.isNull());
    QVERIFY(!CSplashWnd::isShown());
    // Events go on flowing through the filter without a splash.
    QLineEdit line;
    line.show();
    QTest::keyClick(&line, Qt::Key_Z);
    QCOMPARE(line.text(), QStringLiteral("z"));
}

QTEST_MAIN(TstSplash)
#include "tst_splash.moc"
