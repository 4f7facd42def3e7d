// Finds a file that a script names (an #INCLUDE, a file in the game's error
// log). The game's files carry Windows names, which match without regard to
// case, while Linux folders are case-sensitive: a name is matched against the
// folder's entries, not opened as typed.
#pragma once

#include <QString>
#include <QStringList>

namespace filelookup {

struct Result {
    QStringList matches;   // absolute paths, those of the first folder that had any
    QStringList searched;  // the folders looked in, in order, for a "not found" message
};

// Looks for name beside the script (scriptFolder), then in the game's folder
// (gameFolder; either may be empty). A name may hold a relative folder part;
// "?" and "*" in its file name match as wildcards and may yield several
// matches, sorted by name. An exact spelling wins over other spellings.
Result find(const QString& name, const QString& scriptFolder, const QString& gameFolder);

}  // namespace filelookup
