// Find in a script's text, with the highlighter's whole-word rule.
#pragma once

#include <QList>
#include <QStringView>

struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool up = false;  // search towards the start of the text
};

namespace TextSearch {

// True when what occurs at pos under the options.
bool matchesAt(QStringView text, qsizetype pos, QStringView what, const FindOptions& opt);

// The first occurrence at or after from (down) or ending at or before from
// (up); -1 when there is none. No wrapping.
qsizetype find(QStringView text, QStringView what, qsizetype from, const FindOptions& opt);

// As find, then once more from the other end of the text when nothing was found.
qsizetype findWrapping(QStringView text, QStringView what, qsizetype from, const FindOptions& opt);

// Every occurrence from the start of the text down, as Find Next meets them
// one after another: each search starts where the last occurrence ends, so
// none overlap. The direction in opt is not looked at.
QList<qsizetype> findAll(QStringView text, QStringView what, const FindOptions& opt);

}  // namespace TextSearch
