#include "editor/CVantrelView.h"

#include "editor/QtColours.h"
#include "launch/LaunchCommands.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"
#include "shell/CVantrelDoc.h"
#include "snippets/BasicTemplate.h"
#include "snippets/CSnippetLibraryDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>

CVantrelView::CVantrelView(QWidget* parent) : ScriptEditControl(parent)
{
    // The snippet library and its hidden dialog, then the colours, then the
    // word tables.
    m_snippetLibraryDlg = std::make_unique<CSnippetLibraryDlg>(ProfileStore::app());
    m_colours.read(ProfileStore::app());
    ScriptVocabulary::fill(m_commandWords, m_keywordWords);
    m_engine = std::make_unique<HighlightEngine>(m_commandWords, m_keywordWords);
    setDefaultColour(m_colours.m_clrRegularText);

    m_timer.setInterval(200);
    connect(&m_timer, &QTimer::timeout, this, &CVantrelView::OnTimer);
    connect(this, &ScriptEditControl::textInserted, this, &CVantrelView::onTextInserted);
    connect(this, &ScriptEditControl::contentsChangedRange, this, &CVantrelView::onChangedRange);
}

CVantrelView::~CVantrelView() { OnDestroy(); }

void CVantrelView::OnDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_timer.stop();
    m_colours.write(ProfileStore::app());
}

void CVantrelView::OnInitialUpdate()
{
    OnUpdate();
    m_timer.start();
    setDefaultColour(m_colours.m_clrRegularText);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void CVantrelView::OnUpdate() { HighlightSyntax(Document); }

void CVantrelView::HighlightSyntax(HighlightScope scope)
{
    const QTextCursor cursor = textCursor();
    const qsizetype length = textLength();
    qsizetype rs = 0;
    qsizetype re = length;
    switch (scope) {
    case Selection:
        rs = cursor.selectionStart();
        re = cursor.selectionEnd();
        break;
    case Document:
        break;
    case LastLine: {
        rs = lineIndex(m_caretLine);
        if (rs < 0)
            return;  // the line is gone
        const qsizetype next = lineIndex(m_caretLine + 1);
        re = next < 0 ? length : next;
        break;
    }
    }
    if (rs >= re && scope != Document)
        return;

    const HighlightEngine::Result r = m_engine->highlight(rawTextView(), rs, re);
    applyClasses(r.begin, r.classes, m_colours);
    // One repaint, of what is on screen; text, selection, scroll position,
    // undo history and modified flag are untouched.
    viewport()->update();
}

bool CVantrelView::IsRichEditControl(const QWidget* w) { return qobject_cast<const ScriptEditControl*>(w) != nullptr; }

namespace {

ScriptEditControl* focusedControl() { return qobject_cast<ScriptEditControl*>(QApplication::focusWidget()); }

}  // namespace

bool CVantrelView::OnUpdateEditCopyCut()
{
    const ScriptEditControl* c = focusedControl();
    return c && c->textCursor().hasSelection();
}

bool CVantrelView::OnUpdateEditPaste()
{
    const ScriptEditControl* c = focusedControl();
    if (!c)
        return false;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

bool CVantrelView::OnUpdateEditUndo()
{
    const ScriptEditControl* c = focusedControl();
    return c && c->document()->isUndoAvailable();
}

void CVantrelView::OnEditCopy()
{
    if (ScriptEditControl* c = focusedControl())
        c->copy();
}

void CVantrelView::OnEditCut()
{
    if (ScriptEditControl* c = focusedControl())
        c->cut();
}

void CVantrelView::OnEditPaste()
{
    // The control reports what was inserted; onTextInserted colours it.
    if (ScriptEditControl* c = focusedControl())
        c->paste();
}

void CVantrelView::onTextInserted(qsizetype start, qsizetype end)
{
    if (!coloursInSync()) {
        // A drop inserts inside an edit block that reports its change only
        // when it closes: colour once it has.
        QTimer::singleShot(0, this, [this, start, end] { onTextInserted(start, end); });
        return;
    }
    QTextCursor c = textCursor();
    c.setPosition(int(start));
    c.setPosition(int(end), QTextCursor::KeepAnchor);
    setTextCursor(c);
    HighlightSyntax(Selection);
    c.setPosition(int(end));
    setTextCursor(c);
}

void CVantrelView::onChangedRange(qsizetype start, qsizetype end)
{
    if (!m_trackingUndo)
        return;
    if (m_undoStart < 0) {
        m_undoStart = start;
        m_undoEnd = end;
    } else {
        m_undoStart = std::min(m_undoStart, start);
        m_undoEnd = std::max(m_undoEnd, end);
    }
}

void CVantrelView::OnEditUndo()
{
    ScriptEditControl* c = focusedControl();
    if (!c)
        return;
    if (c != this) {
        c->undo();
        return;
    }
    m_trackingUndo = true;
    m_undoStart = m_undoEnd = -1;
    undo();
    m_trackingUndo = false;
    if (m_undoStart >= 0) {
        // Select what the undo restored and colour it.
        const qsizetype end = std::min(m_undoEnd, textLength());
        QTextCursor cur = textCursor();
        cur.setPosition(int(std::min(m_undoStart, end)));
        cur.setPosition(int(end), QTextCursor::KeepAnchor);
        setTextCursor(cur);
    }
    HighlightSyntax(Selection);
}

void CVantrelView::OnRegenerateHighlights() { HighlightSyntax(Document); }

void CVantrelView::OnColour(int commandId) { ChooseSyntaxColour(m_colours.field(commandId)); }

void CVantrelView::ChooseSyntaxColour(ColourRef& field)
{
    // The dialog offers the six built-in colours first, whatever the current ones are.
    for (int i = 0; i < int(SyntaxColours::kDefaults.size()); ++i)
        QColorDialog::setCustomColor(i, toQColor(SyntaxColours::kDefaults[std::size_t(i)]));
    QColorDialog dialog(toQColor(field), window());
    dialog.setObjectName(QStringLiteral("colourDialog"));
    if (dialog.exec() == QDialog::Accepted)
        field = fromQColor(dialog.selectedColor());
    // Nothing is coloured again now: the new colour shows where text is coloured next.
}

void CVantrelView::OnLaunchOptions() { launch::OnLaunchOptions(this); }

void CVantrelView::OnLaunchScript()
{
    const QString path = m_document ? m_document->GetPathName() : QString();
    const bool modified = m_document ? m_document->IsModified() : document()->isModified();
    launch::OnLaunchScript(this, path, modified);
}

void CVantrelView::OnCreateBasicScript()
{
    if (mb::show(this, str::kBasicScriptQuestion, str::kCaptionConfirm, mb::MB_OKCANCEL | mb::MB_ICONEXCLAMATION) !=
        mb::IDOK)
        return;
    replaceAllText(BasicTemplate::text());
    document()->setModified(true);
    QTextCursor c = textCursor();
    c.setPosition(0);
    setTextCursor(c);
    HighlightSyntax(Document);
}

void CVantrelView::OnCodeSnippetLibrary() { m_snippetLibraryDlg->OnCodeSnippetLibrary(); }

void CVantrelView::OnAddCodeSnippet()
{
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    snippets::OnAddCodeSnippet(this, *m_snippetLibraryDlg, selected);
}

void CVantrelView::OnTimer()
{
    const int line = lineFromChar(textCursor().selectionStart());
    if (line != m_caretLine) {
        HighlightSyntax(LastLine);
        m_caretLine = line;
        emit caretLineChanged(line + 1);
    }
}

void CVantrelView::contextMenuEvent(QContextMenuEvent* e)
{
    // The editor's own menu runs the same Undo and Paste commands as the
    // Edit menu, so what they bring back or insert is coloured.
    std::unique_ptr<QMenu> menu(createStandardContextMenu(e->pos()));
    for (QAction* a : menu->actions()) {
        if (a->objectName() == QLatin1String("edit-undo")) {
            a->disconnect();
            a->setEnabled(OnUpdateEditUndo());
            connect(a, &QAction::triggered, this, &CVantrelView::OnEditUndo);
        } else if (a->objectName() == QLatin1String("edit-paste")) {
            a->disconnect();
            a->setEnabled(OnUpdateEditPaste());
            connect(a, &QAction::triggered, this, &CVantrelView::OnEditPaste);
        }
    }
    menu->exec(e->globalPos());
}
