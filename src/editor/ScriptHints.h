// Hints: faults the game would find only when it runs the script, seen in
// the index instead. A hint never blocks anything; it is shown and printed.
#pragma once

#include "editor/ScriptIndex.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct ScriptHint {
    int line = 0;    // 0-based
    int column = 0;  // 0-based
    int length = 0;  // characters the hint is about
    QString text;
    bool operator==(const ScriptHint&) const = default;
};

// What an included file offers a script: whether it was found, where it was
// looked for, and the labels it and its own includes define.
struct IncludedLabels {
    bool found = false;
    QStringList searched;
    QSet<QString> labels;
};

using IncludeResolver = std::function<IncludedLabels(const QString& name)>;

// The hints of a script, in line and column order. resolve is asked once per
// distinct include name.
std::vector<ScriptHint> scriptHints(const ScriptIndex& index, const IncludeResolver& resolve);

// Finds and reads included files as the game does (beside the script, then
// in the game's folder) and keeps what it read, so that each file is read
// once however often it is asked for.
class IncludeFiles {
public:
    IncludeFiles(QString scriptFolder, QString gameFolder);
    IncludedLabels operator()(const QString& name);

private:
    void collect(const QString& path, QSet<QString>& labels, QSet<QString>& visited);

    QString m_scriptFolder;
    QString m_gameFolder;
    QHash<QString, QSet<QString>> m_ownLabels;  // by file path: the labels a file defines
    QHash<QString, QStringList> m_ownIncludes;  // by file path: the names it includes
};
