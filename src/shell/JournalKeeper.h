// Keeps a copy of one script's unsaved text in the recovery journal: a few
// seconds after an edit, and at once when the program must end. The copy
// goes when the script has no unsaved changes any more (saved, reloaded,
// replaced after the save question) and when the script is closed.
#pragma once

#include "platform/FileIdentity.h"

#include <QObject>
#include <QTimer>

#include <functional>

class ScriptText;

class JournalKeeper : public QObject {
    Q_OBJECT
public:
    // Where the copy says the script lives, and the identity of its file as
    // last read or written.
    using Origin = std::function<std::pair<QString, FileIdentity>()>;
    JournalKeeper(ScriptText& text, Origin origin, QObject* parent = nullptr);

    // Writes the copy now if the text has unsaved changes the copy lacks.
    void writeNow();
    // Removes the copy: the script is closed, or its text replaced, and its
    // changes were let go.
    void discard();

private:
    void edited();

    ScriptText& m_text;
    Origin m_origin;
    QTimer m_timer;
    int m_entry;
    int m_writtenRevision = -1;
    QString m_writtenPath;
};
