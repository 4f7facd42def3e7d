#include "editor/CVantrelView.h"

#include "platform/ProfileStore.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>

#include <memory>

CVantrelView::CVantrelView(QWidget* parent) : ScriptEditControl(parent)
{
    m_colours.read(ProfileStore::app());
    setDefaultColour(m_colours.m_clrRegularText);

    m_timer.setInterval(200);
    connect(&m_timer, &QTimer::timeout, this, &CVantrelView::OnTimer);
    connect(this, &ScriptEditControl::textInserted, this, &CVantrelView::onTextInserted);
    connect(this, &ScriptEditControl::contentsChangedRange, this, &CVantrelView::onChangedRange);
    m_index.reset(rawTextView());
    connect(this, &ScriptEditControl::linesReplaced, this,
            [this](int first, int removed, qsizetype from, qsizetype to) {
                m_index.replaceLines(rawTextView(), first, removed, from, to);
                emit indexChanged();
            });
    connect(this, &ScriptEditControl::textReset, this, [this] {
        m_index.reset(rawTextView());
        emit indexChanged();
    });
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

void CVantrelView::loadScript(const QString& text, bool readOnly)
{
    setReadOnly(false);
    setPlainText(text);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    setReadOnly(readOnly);
    OnInitialUpdate();
}

void CVantrelView::HighlightSyntax(HighlightScope scope)
{
    const QTextCursor cursor = textCursor();
    const qsizetype length = textLength();
    qsizetype rs = 0;
    qsizetype re = length;
    if (scope == Selection) {
        rs = cursor.selectionStart();
        re = cursor.selectionEnd();
    } else if (scope == LastLine) {
        rs = lineIndex(m_caretLine);
        if (rs < 0)
            return;  // the line is gone
        const qsizetype next = lineIndex(m_caretLine + 1);
        re = next < 0 ? length : next;
    }
    if (rs < re || scope == Document)
        colourRange(rs, re);
}

void CVantrelView::colourRange(qsizetype from, qsizetype to)
{
    const HighlightEngine::Result r = m_engine.highlight(rawTextView(), from, to);
    applyClasses(r.begin, r.classes, m_colours);
    // One repaint, of what is on screen; text, selection, scroll position,
    // undo history and modified flag are untouched.
    viewport()->update();
}

void CVantrelView::colourLines(int first, int last)
{
    const qsizetype rs = lineIndex(first);
    const qsizetype next = lineIndex(last + 1);
    const qsizetype re = next < 0 ? textLength() : next;
    if (rs >= 0 && rs < re)
        colourRange(rs, re);
}

void CVantrelView::setColour(const SyntaxColours::Row& row, ColourRef colour)
{
    m_colours.*row.field = colour;
    // The user sees the new colour at once, as after F5.
    HighlightSyntax(Document);
}

void CVantrelView::OnEditToggleComment()
{
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    QTextDocument* doc = document();
    const QTextBlock first = doc->findBlock(cursor.selectionStart());
    QTextBlock last = doc->findBlock(cursor.selectionEnd());
    // A selection that ends at the start of a line leaves that line alone.
    if (cursor.hasSelection() && last != first && cursor.selectionEnd() == last.position())
        last = last.previous();
    const auto indentOf = [](const QString& line) {
        qsizetype i = 0;
        while (i < line.size() && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
            ++i;
        return i;
    };
    bool anyText = false;
    bool allCommented = true;
    for (QTextBlock b = first;; b = b.next()) {
        const QString line = b.text();
        const qsizetype i = indentOf(line);
        if (i < line.size()) {
            anyText = true;
            allCommented = allCommented && line[i] == QLatin1Char(';');
        }
        if (b == last)
            break;
    }
    QTextCursor edit(doc);
    edit.beginEditBlock();
    for (QTextBlock b = first;; b = b.next()) {
        const QString line = b.text();
        const qsizetype i = indentOf(line);
        const bool blank = i == line.size();
        if (anyText && allCommented && !blank) {
            edit.setPosition(b.position() + int(i));
            const bool blankAfter =
                i + 1 < line.size() && (line[i + 1] == QLatin1Char(' ') || line[i + 1] == QLatin1Char('\t'));
            edit.setPosition(b.position() + int(i) + (blankAfter ? 2 : 1), QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        } else if (!allCommented || !anyText) {
            // Blank lines stay blank, unless nothing else was chosen.
            if (!blank || !anyText) {
                edit.setPosition(b.position());
                edit.insertText(QStringLiteral("; "));
            }
        }
        if (b == last)
            break;
    }
    edit.endEditBlock();
    colourLines(first.blockNumber(), last.blockNumber());
}

void CVantrelView::OnEditPaste()
{
    // The control reports what was inserted; onTextInserted colours it.
    paste();
}

void CVantrelView::insertScriptText(const QString& text)
{
    QMimeData data;
    data.setText(text);
    insertFromMimeData(&data);
}

void CVantrelView::replaceScript(const QString& text)
{
    replaceAllText(text);
    document()->setModified(true);
    QTextCursor c = textCursor();
    c.setPosition(0);
    setTextCursor(c);
    HighlightSyntax(Document);
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
    if (m_trackingUndo) {
        m_undoStart = m_undoStart < 0 ? start : std::min(m_undoStart, start);
        m_undoEnd = std::max(m_undoEnd, end);
        return;
    }
    if (m_colourAsYouType && coloursInSync()) {
        // Typing colours its own line at once; the line is coloured again
        // when the caret leaves it, as always.
        colourLines(lineFromChar(start), lineFromChar(end));
    }
}

template <class Step>
void CVantrelView::colourRestored(Step step)
{
    m_trackingUndo = true;
    m_undoStart = m_undoEnd = -1;
    step();
    m_trackingUndo = false;
    if (m_undoStart >= 0) {
        // Select what came back and colour it.
        const qsizetype end = std::min(m_undoEnd, textLength());
        QTextCursor cur = textCursor();
        cur.setPosition(int(std::min(m_undoStart, end)));
        cur.setPosition(int(end), QTextCursor::KeepAnchor);
        setTextCursor(cur);
    }
    HighlightSyntax(Selection);
}

void CVantrelView::OnEditUndo()
{
    colourRestored([this] { undo(); });
}

void CVantrelView::OnEditRedo()
{
    colourRestored([this] { redo(); });
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

void CVantrelView::keyPressEvent(QKeyEvent* e)
{
    // The control's own Undo and Redo keys colour what they bring back, as
    // the Edit menu's Undo does.
    if (e->matches(QKeySequence::Undo) && !isReadOnly()) {
        OnEditUndo();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::Redo) && !isReadOnly()) {
        OnEditRedo();
        e->accept();
        return;
    }
    ScriptEditControl::keyPressEvent(e);
}

void CVantrelView::contextMenuEvent(QContextMenuEvent* e)
{
    // The editor's own menu runs the same Undo, Redo and Paste as the Edit
    // menu, so what they bring back or insert is coloured.
    std::unique_ptr<QMenu> menu(createStandardContextMenu(e->pos()));
    for (QAction* a : menu->actions()) {
        void (CVantrelView::*handler)() = nullptr;
        if (a->objectName() == QLatin1String("edit-undo"))
            handler = &CVantrelView::OnEditUndo;
        else if (a->objectName() == QLatin1String("edit-redo"))
            handler = &CVantrelView::OnEditRedo;
        else if (a->objectName() == QLatin1String("edit-paste"))
            handler = &CVantrelView::OnEditPaste;
        if (handler) {
            disconnect(a, &QAction::triggered, nullptr, nullptr);
            connect(a, &QAction::triggered, this, handler);
        }
    }
    menu->exec(e->globalPos());
}
