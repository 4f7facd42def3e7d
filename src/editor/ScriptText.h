// What the document needs of the text it loads and saves: the narrow side of
// the editor that the file operations use, free of the editor's other duties.
#pragma once

#include <QString>

class QTextDocument;

class ScriptText {
public:
    virtual ~ScriptText() = default;

    // The whole text with "\n" line ends.
    virtual QString scriptText() const = 0;
    // Makes text the new document: no undo history, unmodified, coloured whole.
    // A read-only script can be looked at but not changed.
    virtual void loadScript(const QString& text, bool readOnly) = 0;
    // The modified flag and its modificationChanged signal.
    virtual QTextDocument* scriptDocument() const = 0;
};
