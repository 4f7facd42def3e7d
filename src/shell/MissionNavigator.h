// Finding one's way through a mission's scripts by its labels: from a name
// to the line that defines it (in the script or one of its includes), the
// lines that use it, and back to where the last jump started.
#pragma once

#include "editor/UsesPanel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CVantrelDoc;
class CVantrelView;
class DocumentSet;
class ScriptIndex;

class MissionNavigator : public QObject {
    Q_OBJECT
public:
    // gameFolder names the game's folder, where includes are looked for after
    // the script's own; openInTab opens a file in a tab of its own (or brings
    // it forward) and makes it the active script.
    MissionNavigator(DocumentSet& scripts, std::function<QString()> gameFolder,
                     std::function<bool(const QString&)> openInTab, QObject* parent = nullptr);
    ~MissionNavigator() override;

    // F2: the label named at the caret of the active script.
    void goToDefinition();
    // Ctrl+click: the label named by word.
    void goToDefinition(const QString& word);
    // Alt+Left: where the last jump started.
    void goBack();
    // Shift+F2: the uses of the label at the caret, in the script and its includes.
    void findUses();
    // The caret of the active script is where a jump starts (an outline entry,
    // an error-log line): Go Back returns there.
    void noteJumpStart();
    // Goes to a line of a script, open or not, as a jump.
    void goTo(const UsesPanel::Place& place);

    static constexpr int kHistorySize = 50;

signals:
    // A short note for the status bar: nothing to go to.
    void message(const QString& text);
    // The uses of a label were found: to be listed.
    void usesFound(const QString& label, const QList<UsesPanel::Place>& places);

private:
    struct Visit {
        QPointer<CVantrelDoc> doc;
        QString path;
        int position = 0;
    };
    struct Script {
        QString path;
        QString file;  // as shown
        const ScriptIndex* index = nullptr;
        std::shared_ptr<ScriptIndex> own;  // an index read from disk for a script that is not open
        QString text;                      // its text, for the lines of its uses
    };
    QString wordAtCaret() const;
    // The active script followed by the files it includes, and theirs, each once.
    std::vector<Script> mission() const;
    QString lineText(const Script& s, int line) const;
    bool jumpTo(const QString& path, int line);

    DocumentSet& m_scripts;
    std::function<QString()> m_gameFolder;
    std::function<bool(const QString&)> m_openInTab;
    QList<Visit> m_history;
};
