// The longest line the editor lets the user edit, and cutting longer lines to
// it for display: the text layout takes seconds for every key press or
// repaint on a line of megabytes.
#pragma once

#include <QString>
#include <QStringView>

namespace longlines {

inline constexpr qsizetype kLongestEditableLine = 100000;

// The length of the longest line of text ("\n" line breaks); with cut, text
// is appended to it with every longer line cut to kLongestEditableLine.
qsizetype longestLine(QStringView text, QString* cut = nullptr);

// Appends text to out with every line cut to kLongestEditableLine. column is
// the length of the line that text continues (0 at the start of a line) and
// becomes the length of text's last line, so that text arriving in pieces is
// cut as it would be whole.
void appendCut(QString& out, QStringView text, qsizetype& column);

}  // namespace longlines
