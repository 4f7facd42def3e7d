// The strip at the left of the script editing control that shows the line
// numbers of the lines on screen.
#pragma once

#include <QWidget>

#include <functional>

class ScriptEditControl;

class LineNumberGutter : public QWidget {
    Q_OBJECT
public:
    // Beside edit, whose lines it numbers in the colour that textColour gives.
    LineNumberGutter(ScriptEditControl* edit, std::function<QColor()> textColour);

    // Wide enough for the largest line number, and for at least three digits
    // so that short scripts do not make the text jump as they grow.
    int neededWidth() const;

    QSize sizeHint() const override { return QSize(neededWidth(), 0); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void onUpdateRequest(const QRect& rect, int dy);

    ScriptEditControl* m_edit;
    std::function<QColor()> m_textColour;
};
