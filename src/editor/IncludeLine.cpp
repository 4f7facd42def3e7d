#include "editor/IncludeLine.h"

#include <QLatin1String>

std::optional<IncludeName> includeOnLine(QStringView line)
{
    static constexpr QLatin1String kDirective("#INCLUDE");
    qsizetype i = 0;
    while (i < line.size() && line[i].isSpace())
        ++i;
    if (!line.mid(i).startsWith(kDirective, Qt::CaseInsensitive))
        return std::nullopt;
    i += kDirective.size();
    // "#INCLUDEX" is some other word.
    if (i < line.size() && !line[i].isSpace() && line[i] != QLatin1Char('"'))
        return std::nullopt;
    while (i < line.size() && line[i].isSpace())
        ++i;
    qsizetype end = i;
    if (i < line.size() && line[i] == QLatin1Char('"')) {
        ++i;
        end = line.indexOf(QLatin1Char('"'), i);
        if (end < 0)
            end = line.size();
    } else {
        // A name ends at a blank or where a comment starts.
        while (end < line.size() && !line[end].isSpace() && line[end] != QLatin1Char(';') &&
               !line.mid(end).startsWith(QLatin1String("//")))
            ++end;
    }
    if (end <= i)
        return std::nullopt;
    return IncludeName{line.sliced(i, end - i).toString(), i, end};
}
