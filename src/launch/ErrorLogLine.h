// Where a line of the game's error log points: the script line it names, and
// the file when it names one ("line 12", "line 12 of brief01.scr",
// "brief01.scr(12)", "brief01.scr:12").
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace launch {

struct LogLocation {
    QString file;  // as the log spells it; empty: the mission script
    int line = 0;  // 1-based
    bool operator==(const LogLocation&) const = default;
};

std::optional<LogLocation> parseErrorLogLine(QStringView text);

}  // namespace launch
