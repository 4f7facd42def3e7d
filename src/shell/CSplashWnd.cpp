#include "shell/CSplashWnd.h"

#include "resources/ids.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {

bool s_splashEnabled = false;
// Cleared by HideSplash already, so that no event is filtered while the
// window waits for its deferred deletion.
CSplashWnd* s_splashWindow = nullptr;

// Qt offers a key first as a shortcut override, then, unless a shortcut took
// it, as a key press. When the override dismissed the splash, the press that
// follows belongs to it and is swallowed too.
struct PendingKey {
    bool active = false;
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    quint64 timestamp = 0;
} s_pendingKey;

bool isDismissingPress(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        return true;
    default:
        // Moves, releases and double-clicks (the press before a double-click
        // has already done it) leave the splash up.
        return false;
    }
}

}  // namespace

CSplashWnd::CSplashWnd(QWidget* owner, const QPixmap& image)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_image(image)
{
    setObjectName(QStringLiteral("CSplashWnd"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The picture covers every pixel; no background to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_image.deviceIndependentSize().toSize());

    // The owner is not visible yet, so centre on the screen's work area.
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CSplashWnd::HideSplash);
    m_timer->start(kTimeoutMs);
}

CSplashWnd::~CSplashWnd()
{
    if (s_splashWindow == this)
        s_splashWindow = nullptr;
}

void CSplashWnd::EnableSplash(bool enable) { s_splashEnabled = enable; }

void CSplashWnd::ShowSplash(QWidget* parent)
{
    if (!s_splashEnabled || s_splashWindow)
        return;
    const QPixmap image(QStringLiteral(":/bitmaps/%1.bmp").arg(ids::IDB_SPLASH));
    if (image.isNull())
        return;  // no picture, no splash; start-up goes on without a word
    s_splashWindow = new CSplashWnd(parent, image);
    s_splashWindow->show();
    s_splashWindow->repaint();
}

bool CSplashWnd::FilterAppMessage(QObject*, QEvent* event)
{
    if (!s_splashWindow && !s_pendingKey.active)
        return false;
    const QEvent::Type type = event->type();

    if (s_pendingKey.active && (type == QEvent::KeyPress || type == QEvent::ShortcutOverride)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool same = key->key() == s_pendingKey.key && key->modifiers() == s_pendingKey.modifiers &&
                          key->timestamp() == s_pendingKey.timestamp;
        if (same) {
            if (type == QEvent::KeyPress)
                s_pendingKey.active = false;
            event->accept();
            return true;
        }
        // Some other key: the press that went with the override never came.
        s_pendingKey.active = false;
    }

    if (!s_splashWindow || !isDismissingPress(type))
        return false;

    if (type == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        s_pendingKey = {true, key->key(), key->modifiers(), key->timestamp()};
        // Accepted, so that no shortcut takes the key; the press that follows
        // is swallowed above.
        event->accept();
    }
    s_splashWindow->HideSplash();
    return true;
}

bool CSplashWnd::isShown() { return s_splashWindow != nullptr; }

CSplashWnd* CSplashWnd::splashWindow() { return s_splashWindow; }

void CSplashWnd::HideSplash()
{
    if (s_splashWindow == this)
        s_splashWindow = nullptr;
    m_timer->stop();
    // Where the system gave the splash the focus, it goes back to the main
    // window, so that the next key reaches the script.
    const bool hadFocus = isActiveWindow() || (windowHandle() && QGuiApplication::focusWindow() == windowHandle());
    hide();
    QPointer<QWidget> owner = parentWidget();
    deleteLater();
    if (owner && owner->isVisible()) {
        if (hadFocus)
            owner->activateWindow();
        // The part of the main window the splash covered is drawn at once.
        owner->repaint();
    }
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_image);
}
