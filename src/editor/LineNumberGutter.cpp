#include "editor/LineNumberGutter.h"

#include "editor/QtColours.h"
#include "editor/ScriptEditControl.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

#include <algorithm>

namespace {

// Room on each side of the numbers, in widths of a digit.
constexpr double kPadding = 0.5;

}  // namespace

LineNumberGutter::LineNumberGutter(ScriptEditControl* edit) : QWidget(edit), m_edit(edit)
{
    setObjectName(QStringLiteral("lineNumbers"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(edit, &QPlainTextEdit::updateRequest, this, &LineNumberGutter::onUpdateRequest);
}

int LineNumberGutter::neededWidth() const
{
    int digits = 1;
    for (int n = std::max(1, m_edit->lineCount()); n >= 10; n /= 10)
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
    painter.setPen(toQColor(m_edit->defaultColour()));
    painter.setFont(m_edit->font());

    const QFontMetrics metrics(m_edit->font());
    const int right = width() - int(metrics.horizontalAdvance(QLatin1Char('9')) * kPadding);
    QTextBlock block = m_edit->firstVisibleBlock();
    const QPointF offset = m_edit->contentOffset();
    int top = int(m_edit->blockBoundingGeometry(block).translated(offset).top());
    while (block.isValid() && top <= e->rect().bottom()) {
        const int bottom = top + int(m_edit->blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= e->rect().top())
            painter.drawText(0, top, right, metrics.height(), Qt::AlignRight | Qt::AlignTop,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top = bottom;
    }
}
