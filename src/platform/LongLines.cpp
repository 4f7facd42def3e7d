#include "platform/LongLines.h"

#include <algorithm>

namespace longlines {

qsizetype longestLine(QStringView text, QString* cut)
{
    qsizetype longest = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype nl = text.indexOf(QLatin1Char('\n'), start);
        if (nl < 0)
            nl = text.size();
        longest = std::max(longest, nl - start);
        if (cut) {
            cut->append(text.sliced(start, std::min(nl - start, kLongestEditableLine)));
            if (nl < text.size())
                cut->append(QLatin1Char('\n'));
        }
        start = nl + 1;
    }
    return longest;
}

void appendCut(QString& out, QStringView text, qsizetype& column)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype nl = text.indexOf(QLatin1Char('\n'), start);
        const bool last = nl < 0;
        if (last)
            nl = text.size();
        const qsizetype room = std::max<qsizetype>(0, kLongestEditableLine - column);
        out.append(text.sliced(start, std::min(nl - start, room)));
        if (last) {
            column += nl - start;
            return;
        }
        out.append(QLatin1Char('\n'));
        column = 0;
        start = nl + 1;
    }
}

}  // namespace longlines
