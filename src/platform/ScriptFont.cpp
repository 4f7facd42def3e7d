#include "platform/ScriptFont.h"

#include "resources/style.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>

namespace scriptfont {

QFont font()
{
    QFont f(res::kScriptFontFamily, res::kScriptFontPoints);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    if (!QFontInfo(f).fixedPitch()) {
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPointSize(res::kScriptFontPoints);
    }
    return f;
}

void apply(QPlainTextEdit* edit)
{
    edit->setFont(font());
    setTabStops(edit);
}

void setTabStops(QPlainTextEdit* edit)
{
    edit->setTabStopDistance(QFontMetricsF(edit->font()).horizontalAdvance(QLatin1Char(' ')) * res::kTabWidth);
}

}  // namespace scriptfont
