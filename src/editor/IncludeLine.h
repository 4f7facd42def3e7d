// The file that a line "#INCLUDE NAME" names, and where the name stands on
// the line (for a click on it).
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

struct IncludeName {
    QString name;
    qsizetype start = 0;  // the name's place in the line: [start, end)
    qsizetype end = 0;
};

// The name after "#INCLUDE" (any case), without quotes and without a
// trailing comment; nothing when the line is no include or names nothing.
std::optional<IncludeName> includeOnLine(QStringView line);
