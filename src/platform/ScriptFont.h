// The fixed-pitch font and tab stops of script text, for any text widget
// that shows a script or a piece of one.
#pragma once

#include <QFont>

class QPlainTextEdit;

namespace scriptfont {

// The script font, or the system's fixed font where it is missing.
QFont font();
// Gives the widget the script font and tab stops every res::kTabWidth characters.
void apply(QPlainTextEdit* edit);
// Tab stops every res::kTabWidth characters of the widget's current font.
void setTabStops(QPlainTextEdit* edit);

}  // namespace scriptfont
