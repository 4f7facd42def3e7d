// The start-up picture: shown while the main frame is created, gone after
// 2200 ms or at the first key or mouse-button press, which it swallows.
#pragma once

#include <QPixmap>
#include <QWidget>

class QEvent;
class QTimer;

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static void EnableSplash(bool enable);
    static void ShowSplash(QWidget* parent);
    // Offered every event of the program first; true when the event
    // dismissed the splash and must go no further.
    static bool FilterAppMessage(QObject* receiver, QEvent* event);
    static bool isShown();

    void HideSplash();

    // The live splash window, or null.
    static CSplashWnd* splashWindow();
    // How long the splash stays up, in milliseconds.
    static constexpr int kTimeoutMs = 2200;

    ~CSplashWnd() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CSplashWnd(QWidget* owner, const QPixmap& image);

    QPixmap m_image;
    QTimer* m_timer = nullptr;
};
