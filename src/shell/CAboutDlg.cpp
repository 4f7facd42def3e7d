#include "shell/CAboutDlg.h"

#include "resources/ids.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent)
    : TemplateDialog(res::aboutTemplate(), parent ? parent : QApplication::activeWindow())
{
    for (QLabel* label : findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            m_picture = label;
            break;
        }
    }
    auto* ok = controlAs<QPushButton>(ids::IDOK);
    if (!m_picture || !ok)
        return;

    // The template is laid out for a dialog font of 6 by 13 pixels per 4 by
    // 8 units, where 300 by 110 units are exactly as wide as the 450 by 150
    // picture and put the OK button just below it. Other fonts give other
    // sizes: a wider box would show an empty strip beside the picture, a
    // narrower or shorter one would cut it or cover it with the button. So
    // the box takes the picture's width, the button keeps its margin to the
    // right edge and stays below the picture, and the box is at least tall
    // enough for both.
    const QRect pic = m_picture->geometry();
    QRect button = ok->geometry();
    const int rightMargin = qMax(0, this->width() - (button.right() + 1));
    const int width = qMax(pic.right() + 1, button.width() + 2 * rightMargin);
    button.moveRight(width - 1 - rightMargin);
    if (button.top() <= pic.bottom())
        button.moveTop(pic.bottom() + 1 + toPixels(0, 3).y());
    ok->setGeometry(button);
    const int height = qMax(this->height(), button.bottom() + 1 + toPixels(0, 3).y());
    setFixedSize(width, height);
}
