#include "editor/ScriptHints.h"

#include "platform/FileLookup.h"
#include "resources/strings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

std::vector<ScriptHint> scriptHints(const ScriptIndex& index, const IncludeResolver& resolve)
{
    std::vector<ScriptHint> hints;
    QHash<QString, std::vector<int>> labelLines;
    QHash<QString, IncludedLabels> includes;
    QStringList includeOrder;
    for (int n = 0; n < index.lineCount(); ++n) {
        const ScriptIndex::Line* l = index.line(n);
        if (!l)
            continue;
        if (!l->label.isEmpty())
            labelLines[l->label.text].push_back(n);
        if (!l->include().isEmpty() && !includes.contains(l->include().text)) {
            includes.insert(l->include().text, resolve ? resolve(l->include().text) : IncludedLabels{});
            includeOrder << l->include().text;
        }
    }
    QStringList missing;
    for (const QString& name : includeOrder) {
        if (!includes[name].found)
            missing << name;
    }
    const auto knownLabel = [&](const QString& word) {
        if (labelLines.contains(word))
            return true;
        return std::any_of(includes.cbegin(), includes.cend(),
                           [&](const IncludedLabels& inc) { return inc.labels.contains(word); });
    };

    for (int n = 0; n < index.lineCount(); ++n) {
        const ScriptIndex::Line* l = index.line(n);
        if (!l)
            continue;
        if (!l->label.isEmpty()) {
            const std::vector<int>& lines = labelLines[l->label.text];
            if (lines.size() > 1) {
                const int other = lines.front() == n ? lines[1] : lines.front();
                hints.push_back({n, l->label.column, int(l->label.text.size()),
                                 QString(str::kHintLabelTwice).arg(l->label.text).arg(other + 1)});
            }
        }
        if (!l->include().isEmpty() && !includes[l->include().text].found) {
            const IncludedLabels& inc = includes[l->include().text];
            QStringList folders;
            for (const QString& f : inc.searched)
                folders << QDir::toNativeSeparators(f);
            hints.push_back(
                {n, l->include().column, int(l->include().text.size()),
                 QString(str::kHintIncludeMissing).arg(l->include().text, folders.join(QLatin1String(", ")))});
        }
        if (!l->uses.empty() && std::none_of(l->uses.begin(), l->uses.end(),
                                             [&](const ScriptIndex::Word& w) { return knownLabel(w.text); })) {
            QStringList words;
            for (const ScriptIndex::Word& w : l->uses)
                words << w.text;
            const ScriptIndex::Word& last = l->uses.back();
            const int column = l->uses.front().column;
            const int length = last.column + int(last.text.size()) - column;
            // An include that could not be read may well define it: say so
            // rather than call the name wrong.
            const QString text = missing.isEmpty()
                                     ? QString(str::kHintNoLabel).arg(words.join(QLatin1String(", ")))
                                     : QString(str::kHintNoLabelUnknownInclude)
                                           .arg(words.join(QLatin1String(", ")), missing.join(QLatin1String(", ")));
            hints.push_back({n, column, length, text});
        }
        if (l->openQuote >= 0)
            hints.push_back({n, l->openQuote, 1, QString(str::kHintOpenString)});
    }
    std::stable_sort(hints.begin(), hints.end(), [](const ScriptHint& a, const ScriptHint& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return hints;
}

IncludeFiles::IncludeFiles(QString scriptFolder, QString gameFolder)
    : m_scriptFolder(std::move(scriptFolder)), m_gameFolder(std::move(gameFolder))
{
}

IncludedLabels IncludeFiles::operator()(const QString& name)
{
    IncludedLabels result;
    const filelookup::Result found = filelookup::find(name, m_scriptFolder, m_gameFolder);
    result.searched = found.searched;
    result.found = !found.matches.isEmpty();
    QSet<QString> visited;
    for (const QString& path : found.matches)
        collect(path, result.labels, visited);
    return result;
}

void IncludeFiles::collect(const QString& path, QSet<QString>& labels, QSet<QString>& visited)
{
    if (visited.contains(path))
        return;
    visited.insert(path);
    if (!m_ownLabels.contains(path)) {
        // An include that cannot be read offers no labels; it was found, so
        // it is not reported as missing.
        ScriptIndex index;
        index.readFile(path);
        QSet<QString> own;
        QStringList includes;
        for (int n = 0; n < index.lineCount(); ++n) {
            if (const ScriptIndex::Line* l = index.line(n)) {
                if (!l->label.isEmpty())
                    own.insert(l->label.text);
                if (!l->include().isEmpty())
                    includes << l->include().text;
            }
        }
        m_ownLabels.insert(path, own);
        m_ownIncludes.insert(path, includes);
    }
    labels.unite(m_ownLabels.value(path));
    // An included file's own includes are looked for beside it first.
    const QString folder = QFileInfo(path).absolutePath();
    for (const QString& name : m_ownIncludes.value(path)) {
        for (const QString& inner : filelookup::find(name, folder, m_gameFolder).matches)
            collect(inner, labels, visited);
    }
}
