// The one view of the script: the editing control with live colouring, the
// edit commands and the commands of the Script and Options menus.
#pragma once

#include "editor/HighlightEngine.h"
#include "editor/ScriptEditControl.h"
#include "editor/ScriptVocabulary.h"
#include "editor/SyntaxColours.h"

#include <QTimer>

#include <memory>

class CSnippetLibraryDlg;
class CVantrelDoc;

enum HighlightScope { LastLine = 0, Selection = 1, Document = 2 };

class CVantrelView : public ScriptEditControl {
    Q_OBJECT
public:
    explicit CVantrelView(QWidget* parent = nullptr);
    ~CVantrelView() override;

    void SetDocument(CVantrelDoc* doc) { m_document = doc; }
    CVantrelDoc* GetDocument() const { return m_document; }

    // A new or opened document: colour it all, (re)start the timer, set the
    // default colour, no wrapping.
    void OnInitialUpdate();
    void OnUpdate();

    void HighlightSyntax(HighlightScope scope);

    // True when w is the script editing control.
    static bool IsRichEditControl(const QWidget* w);

    // Edit commands act on the focused widget; the update handlers say
    // whether they can.
    static bool OnUpdateEditCopyCut();
    static bool OnUpdateEditPaste();
    static bool OnUpdateEditUndo();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();

    void OnRegenerateHighlights();
    void OnColour(int commandId);  // the six colour commands
    void ChooseSyntaxColour(ColourRef& field);
    void OnLaunchOptions();
    void OnLaunchScript();
    void OnCreateBasicScript();
    void OnCodeSnippetLibrary();
    void OnAddCodeSnippet();

    // Writes the colours to the settings store; runs once, when the view goes.
    void OnDestroy();

    void OnTimer();
    QTimer& highlightTimer() { return m_timer; }

    int m_caretLine = 0;
    SyntaxColours m_colours;
    ScriptVocabulary::Table m_commandWords{};
    ScriptVocabulary::Table m_keywordWords{};
    std::unique_ptr<CSnippetLibraryDlg> m_snippetLibraryDlg;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

signals:
    // The caret's line, 1-based, each time the timer sees it change.
    void caretLineChanged(int line);

private:
    void onTextInserted(qsizetype start, qsizetype end);
    void onChangedRange(qsizetype start, qsizetype end);

    CVantrelDoc* m_document = nullptr;
    std::unique_ptr<HighlightEngine> m_engine;
    QTimer m_timer;
    bool m_destroyed = false;
    bool m_trackingUndo = false;
    qsizetype m_undoStart = -1;
    qsizetype m_undoEnd = -1;
};
