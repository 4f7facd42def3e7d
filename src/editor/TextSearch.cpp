#include "editor/TextSearch.h"

#include "editor/HighlightEngine.h"

namespace TextSearch {

bool matchesAt(QStringView text, qsizetype pos, QStringView what, const FindOptions& opt)
{
    if (what.isEmpty() || pos < 0 || pos + what.size() > text.size())
        return false;
    const Qt::CaseSensitivity cs = opt.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (text.sliced(pos, what.size()).compare(what, cs) != 0)
        return false;
    if (!opt.wholeWord)
        return true;
    const qsizetype end = pos + what.size();
    return (pos == 0 || !HighlightEngine::isWordChar(text[pos - 1])) &&
           (end == text.size() || !HighlightEngine::isWordChar(text[end]));
}

qsizetype find(QStringView text, QStringView what, qsizetype from, const FindOptions& opt)
{
    if (what.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = opt.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (!opt.up) {
        for (qsizetype i = text.indexOf(what, std::max<qsizetype>(from, 0), cs); i >= 0;
             i = text.indexOf(what, i + 1, cs)) {
            if (matchesAt(text, i, what, opt))
                return i;
        }
        return -1;
    }
    // Up: occurrences that end at or before from.
    qsizetype start = std::min(from, text.size()) - what.size();
    while (start >= 0) {
        const qsizetype i = text.lastIndexOf(what, start, cs);
        if (i < 0)
            return -1;
        if (matchesAt(text, i, what, opt))
            return i;
        start = i - 1;
    }
    return -1;
}

qsizetype findWrapping(QStringView text, QStringView what, qsizetype from, const FindOptions& opt)
{
    const qsizetype i = find(text, what, from, opt);
    if (i >= 0)
        return i;
    return find(text, what, opt.up ? text.size() : 0, opt);
}

QList<qsizetype> findAll(QStringView text, QStringView what, const FindOptions& opt)
{
    FindOptions down = opt;
    down.up = false;
    QList<qsizetype> hits;
    for (qsizetype i = find(text, what, 0, down); i >= 0; i = find(text, what, i + what.size(), down))
        hits.append(i);
    return hits;
}

}  // namespace TextSearch
