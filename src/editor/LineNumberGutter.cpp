#include "editor/LineNumberGutter.h"

#include "editor/ScriptEditControl.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace {

// Room on each side of the numbers, in widths of a digit.
constexpr double kPadding = 0.5;

}  // namespace

LineNumberGutter::LineNumberGutter(ScriptEditControl* edit, std::function<QColor()> textColour)
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
    m_edit->forEachLineShown(e->rect().top(), e->rect().bottom(), [&](const QTextBlock& block, const QRectF& box) {
        painter.drawText(0, int(box.top()), right, metrics.height(), Qt::AlignRight | Qt::AlignTop,
                         QString::number(block.blockNumber() + 1));
    });
}
