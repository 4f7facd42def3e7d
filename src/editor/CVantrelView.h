// The one view of the script: the editing control and its colouring. Lines
// are coloured as the caret leaves them (a 200 ms timer), on demand for the
// whole text, and wherever an edit command brings text in.
#pragma once

#include "editor/HighlightEngine.h"
#include "editor/ScriptEditControl.h"
#include "editor/ScriptHints.h"
#include "editor/ScriptIndex.h"
#include "editor/ScriptText.h"
#include "editor/SyntaxColours.h"

#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

enum HighlightScope { LastLine = 0, Selection = 1, Document = 2 };

class CVantrelView : public ScriptEditControl, public ScriptText {
    Q_OBJECT
public:
    explicit CVantrelView(QWidget* parent = nullptr);
    ~CVantrelView() override;

    // A new or opened document: colour it all, (re)start the timer, set the
    // default colour, no wrapping.
    void OnInitialUpdate();
    // Colours the whole text.
    void OnUpdate() { HighlightSyntax(Document); }
    void HighlightSyntax(HighlightScope scope);
    // Colours [from, to) as a highlight of that selection would; the
    // selection itself is left alone.
    void colourRange(qsizetype from, qsizetype to);

    QString scriptText() const override { return rawText(); }
    void loadScript(const QString& text, bool readOnly) override;
    QTextDocument* scriptDocument() const override { return document(); }

    // The edit commands; Paste, Undo and Redo colour what they bring in.
    void OnEditCopy() { copy(); }
    void OnEditCut() { cut(); }
    void OnEditPaste();
    void OnEditUndo();
    void OnEditRedo();
    void OnRegenerateHighlights() { HighlightSyntax(Document); }
    // Comments out the lines of the selection (the caret's line without
    // one), or brings them back when every non-blank one is commented out
    // already. One undo step, coloured at once.
    void OnEditToggleComment();

    // Inserts text at the caret in place of the selection, as a paste: one
    // undo step, coloured at once.
    void insertScriptText(const QString& text);
    // Replaces the whole text, marks the document modified and colours it.
    // Not undoable: the undo history is dropped.
    void replaceScript(const QString& text);

    const SyntaxColours& colours() const { return m_colours; }
    // A new colour for one class, chosen by the user: stored in the settings
    // at once, and the whole text is coloured again with it.
    void setColour(const SyntaxColours::Row& row, ColourRef colour);

    // Colours the line being edited after each change, not only when the caret leaves it.
    void setColourAsYouType(bool on) { m_colourAsYouType = on; }
    bool colourAsYouType() const { return m_colourAsYouType; }

    // What each line defines and uses, kept up to date with every edit.
    const ScriptIndex& index() const { return m_index; }

    // Hints: found a moment after the last edit, underlined where they are
    // and told while the caret is on their line. folders gives the script's
    // folder and the game's, where included files are looked for.
    using IncludeFolders = std::function<std::pair<QString, QString>()>;
    void setIncludeFolders(IncludeFolders folders) { m_includeFolders = std::move(folders); }
    void setHintsShown(bool on);
    bool hintsShown() const { return m_hintsShown; }
    const std::vector<ScriptHint>& hints() const { return m_hints; }
    // Finds the hints now rather than a moment after the last edit.
    void updateHints();
    // The hint of the caret's line, empty when it has none.
    QString caretHint() const;

    // 0-based line of the caret at the last timer tick.
    int caretLine() const { return m_caretLine; }

    // The name on the "#INCLUDE NAME" line at the caret; empty when the caret
    // is on no such line.
    QString includeAtCaret() const;
    // The word the cursor stands in or beside; empty when none.
    QString wordAt(const QTextCursor& at) const;
    // Puts the caret on a line, 1-based, and marks the line for a moment so
    // that the eye finds it.
    void showLine(int line1Based);

    // Writes the colours changed in this run that are not stored yet; runs
    // once, when the view goes.
    void OnDestroy();

    // The 200 ms tick: colours the line the caret has left, if it has.
    void OnTimer();

signals:
    // The caret's line, 1-based, each time the timer sees it change.
    void caretLineChanged(int line);
    // A Ctrl+click on the name of an "#INCLUDE NAME" line.
    void includeClicked(const QString& name);
    // A Ctrl+click on any other word: the name of a label to go to.
    void wordClicked(const QString& word);
    // The index changed with an edit or a new text.
    void indexChanged();
    // The hints were found again.
    void hintsUpdated();
    // The caret came to a line with another hint, or none (empty).
    void caretHintChanged(const QString& hint);

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void paintHints(const QRect& area);
    void updateOccurrences();
    void applyMarks();
    void colourLines(int first, int last);
    void storeChangedColours();
    void onTextInserted(qsizetype start, qsizetype end);
    void onChangedRange(qsizetype start, qsizetype end);
    template <class Step>
    void colourRestored(Step step);

    int m_caretLine = 0;
    ScriptIndex m_index;
    std::vector<ScriptHint> m_hints;  // in line order
    bool m_hintsShown = true;
    QTimer m_hintTimer;
    IncludeFolders m_includeFolders;
    QString m_caretHint;
    QTimer m_occurrenceTimer;
    SyntaxColours m_colours;
    unsigned m_unstoredColours = 0;  // rows chosen in this run, not yet in the store
    HighlightEngine m_engine;
    QTimer m_timer;
    QTimer m_unmark;  // ends the mark of a line shown by showLine
    QList<QTextEdit::ExtraSelection> m_lineMark;
    QList<QTextEdit::ExtraSelection> m_occurrenceMarks;
    bool m_destroyed = false;
    bool m_colourAsYouType = false;
    // The range an undo or redo changed, gathered while it runs.
    bool m_trackingUndo = false;
    qsizetype m_undoStart = -1;
    qsizetype m_undoEnd = -1;
};
