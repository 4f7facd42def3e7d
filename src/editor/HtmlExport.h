// A script as a standalone HTML page, coloured as a whole-text highlight
// colours it: one <pre> in which every character stands in a span that
// gives its colour.
#pragma once

#include "editor/SyntaxColours.h"

#include <QString>

namespace HtmlExport {

QString page(QStringView text, const SyntaxColours& colours, const QString& title);

}  // namespace HtmlExport
