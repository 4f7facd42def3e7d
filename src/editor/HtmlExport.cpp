#include "editor/HtmlExport.h"

#include "resources/style.h"

namespace HtmlExport {
namespace {

void appendEscaped(QString& out, QStringView text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
}

QString hexColour(ColourRef c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

}  // namespace

QString page(QStringView text, const SyntaxColours& colours, const QString& title)
{
    static const HighlightEngine engine;
    const HighlightEngine::Result r = engine.highlight(text, 0, -1);

    QString out;
    out.reserve(text.size() * 2 + 512);
    out += QLatin1String("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
    appendEscaped(out, title);
    out += QLatin1String(
        "</title>\n<style>\npre { font-family: \"Courier New\", Courier, \"Liberation Mono\", "
        "\"DejaVu Sans Mono\", monospace; font-size: 10pt; tab-size: ");
    out += QString::number(res::kTabWidth);
    out += QLatin1String("; -moz-tab-size: ");
    out += QString::number(res::kTabWidth);
    out += QLatin1String("; }\n</style>\n</head>\n<body>\n<pre>");

    qsizetype i = 0;
    while (i < text.size()) {
        const auto classAt = [&](qsizetype pos) {
            const qsizetype k = pos - r.begin;
            const std::uint8_t cls =
                (k >= 0 && k < qsizetype(r.classes.size())) ? r.classes[std::size_t(k)] : HighlightEngine::kUnpainted;
            return cls == HighlightEngine::kUnpainted ? TextClass::Regular : TextClass(cls);
        };
        const ColourRef colour = colours.forClass(classAt(i));
        qsizetype j = i + 1;
        while (j < text.size() && colours.forClass(classAt(j)) == colour)
            ++j;
        out += QLatin1String("<span style=\"color:");
        out += hexColour(colour);
        out += QLatin1String("\">");
        appendEscaped(out, text.sliced(i, j - i));
        out += QLatin1String("</span>");
        i = j;
    }
    out += QLatin1String("</pre>\n</body>\n</html>\n");
    return out;
}

}  // namespace HtmlExport
