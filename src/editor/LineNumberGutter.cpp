#include "editor/LineNumberGutter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace {

// Room on each side of the numbers, in widths of a digit.
constexpr double kPadding = 0.5;

}  // namespace

LineNumberGutter::LineNumberGutter(QPlainTextEdit* edit, std::function<QColor()> textColour)
    : QWidget(edit), m_edit(edit), m_textColour(std::move(textColour))
{
    setObjectName(QStringLiteral("lineNumbers"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(edit, &QPlainTextEdit::updateRequest, this, &LineNumberGutter::onUpdateRequest);
}

int LineNumberGutter::neededWidth() const
{
    int digits = 1;
    for (int n = std::max(1, m_edit->blockCount()); n >= 10; n /= 10)
        ++digits;
    const double digit = m_edit->fontMetrics().horizontalAdvance(QLatin1Char('9'));
    return int(digit * (std::max(digits, 3) + 2 * kPadding) + 0.999);
}

void LineNumberGutter::onUpdateRequest(const QRect& rect, int dy)
{
    if (!isVisible())
        return;
    // Scrolling moves what is already drawn; anything else repaints the strip
    // beside the part of the text that changed.
    if (dy)
        scroll(0, dy);
    else
        update(0, rect.y(), width(), rect.height());
}

void LineNumberGutter::paintEvent(QPaintEvent* e)
{
    QPainter painter(this);
    painter.fillRect(e->rect(), m_edit->palette().color(QPalette::Base).darker(108));
    painter.setPen(m_textColour());
    painter.setFont(m_edit->font());

    // Lines never wrap: each block is one line, as tall as the font, placed
    // where its first cursor position stands in the viewport (whose top is
    // the strip's top).
    const QFontMetrics metrics(m_edit->font());
    const int right = width() - int(metrics.horizontalAdvance(QLatin1Char('9')) * kPadding);
    for (QTextBlock block = m_edit->cursorForPosition(QPoint(0, 0)).block(); block.isValid(); block = block.next()) {
        const int top = m_edit->cursorRect(QTextCursor(block)).top();
        if (top > e->rect().bottom())
            break;
        if (top + metrics.height() >= e->rect().top())
            painter.drawText(0, top, right, metrics.height(), Qt::AlignRight | Qt::AlignTop,
                             QString::number(block.blockNumber() + 1));
    }
}
