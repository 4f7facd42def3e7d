#include "editor/CVantrelView.h"

#include "editor/IncludeLine.h"
#include "platform/ProfileStore.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// The word (letters, digits, "_") that column at stands in or beside: [from, to).
std::pair<qsizetype, qsizetype> wordBounds(QStringView line, qsizetype at)
{
    qsizetype from = std::clamp<qsizetype>(at, 0, line.size());
    qsizetype to = from;
    while (from > 0 && HighlightEngine::isWordChar(line[from - 1]))
        --from;
    while (to < line.size() && HighlightEngine::isWordChar(line[to]))
        ++to;
    return {from, to};
}

}  // namespace

CVantrelView::CVantrelView(QWidget* parent) : ScriptEditControl(parent)
{
    m_colours.read(ProfileStore::app());
    setDefaultColour(m_colours.m_clrRegularText);

    m_timer.setInterval(200);
    connect(&m_timer, &QTimer::timeout, this, &CVantrelView::OnTimer);
    connect(this, &ScriptEditControl::textInserted, this, &CVantrelView::onTextInserted);
    connect(this, &ScriptEditControl::contentsChangedRange, this, &CVantrelView::onChangedRange);
    m_unmark.setSingleShot(true);
    m_unmark.setInterval(1500);
    connect(&m_unmark, &QTimer::timeout, this, [this] {
        m_lineMark.clear();
        applyMarks();
    });
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

    // Hints are found a moment after typing stops, not on every key.
    m_hintTimer.setSingleShot(true);
    m_hintTimer.setInterval(300);
    connect(&m_hintTimer, &QTimer::timeout, this, &CVantrelView::updateHints);
    connect(this, &CVantrelView::indexChanged, this, [this] {
        if (m_hintsShown)
            m_hintTimer.start();
    });
    // Occurrences of the caret's word follow the caret and the scrolling,
    // once the event that moved them is done.
    m_occurrenceTimer.setSingleShot(true);
    m_occurrenceTimer.setInterval(0);
    connect(&m_occurrenceTimer, &QTimer::timeout, this, &CVantrelView::updateOccurrences);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        m_occurrenceTimer.start();
        const QString hint = caretHint();
        if (hint != m_caretHint) {
            m_caretHint = hint;
            emit caretHintChanged(hint);
        }
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, &m_occurrenceTimer, qOverload<>(&QTimer::start));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, &m_occurrenceTimer, qOverload<>(&QTimer::start));
}

void CVantrelView::setHintsShown(bool on)
{
    m_hintsShown = on;
    updateHints();
}

void CVantrelView::updateHints()
{
    m_hintTimer.stop();
    m_hints.clear();
    if (m_hintsShown) {
        const auto [scriptFolder, gameFolder] = m_includeFolders ? m_includeFolders() : std::pair<QString, QString>();
        // Read afresh each time: an included file may have changed meanwhile.
        IncludeFiles includes(scriptFolder, gameFolder);
        m_hints = scriptHints(m_index, std::ref(includes));
    }
    viewport()->update();
    emit hintsUpdated();
    const QString hint = caretHint();
    if (hint != m_caretHint) {
        m_caretHint = hint;
        emit caretHintChanged(hint);
    }
}

QString CVantrelView::caretHint() const
{
    const int line = textCursor().blockNumber();
    const auto it =
        std::lower_bound(m_hints.begin(), m_hints.end(), line, [](const ScriptHint& h, int l) { return h.line < l; });
    return it != m_hints.end() && it->line == line ? it->text : QString();
}

void CVantrelView::paintEvent(QPaintEvent* e)
{
    ScriptEditControl::paintEvent(e);
    paintHints(e->rect());
}

void CVantrelView::paintHints(const QRect& area)
{
    if (m_hints.empty())
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(220, 0, 0), 1));
    // Only the lines being painted: a long script may hold thousands of hints.
    forEachLineShown(area.top(), area.bottom(), [&](const QTextBlock& block, const QRectF& box) {
        const int line = block.blockNumber();
        auto it = std::lower_bound(m_hints.begin(), m_hints.end(), line,
                                   [](const ScriptHint& h, int l) { return h.line < l; });
        const int length = block.length() - 1;
        for (; it != m_hints.end() && it->line == line; ++it) {
            const int from = std::min(it->column, length);
            const int to = std::min(it->column + std::max(it->length, 1), std::max(length, from + 1));
            const QTextLine tl = block.layout()->lineForTextPosition(from);
            if (!tl.isValid())
                continue;
            const qreal x1 = tl.cursorToX(from) + box.left();
            const qreal x2 = std::max(tl.cursorToX(std::min(to, length)) + box.left(), x1 + 4);
            const qreal y = box.top() + tl.y() + tl.ascent() + 2;
            QPainterPath wave(QPointF(x1, y));
            bool up = true;
            for (qreal x = x1 + 2; x <= x2; x += 2, up = !up)
                wave.lineTo(x, up ? y - 2 : y);
            painter.drawPath(wave);
        }
    });
}

void CVantrelView::updateOccurrences()
{
    // While an edit is still being reported, the text kept beside the
    // document is behind it; the caret's next move looks again.
    if (!coloursInSync())
        return;
    QList<QTextEdit::ExtraSelection> marks;
    const QTextCursor caret = textCursor();
    const QTextBlock caretBlock = caret.block();
    const QString caretText = caretBlock.text();
    const int at = caret.positionInBlock();
    const auto [b, e] = wordBounds(caretText, at);
    const auto classOf = [this](const QTextBlock& block) {
        return m_engine.highlight(rawTextView(), block.position(), block.position() + block.length() - 1);
    };
    const auto textual = [](std::uint8_t c) {
        return c != std::uint8_t(TextClass::Comment) && c != std::uint8_t(TextClass::String);
    };
    const bool wordAtCaret = !caret.hasSelection() && e > b && !caretText[b].isDigit() &&
                             textual(classOf(caretBlock).classes[std::size_t(b)]);
    if (wordAtCaret) {
        const QString word = caretText.mid(b, e - b);
        QColor soft = palette().highlight().color();
        soft.setAlpha(48);
        forEachLineShown(0, viewport()->height(), [&](const QTextBlock& block, const QRectF&) {
            const QString text = block.text();
            std::vector<std::uint8_t> classes;
            for (qsizetype i = text.indexOf(word); i >= 0; i = text.indexOf(word, i + 1)) {
                const qsizetype j = i + word.size();
                if ((i > 0 && HighlightEngine::isWordChar(text[i - 1])) ||
                    (j < text.size() && HighlightEngine::isWordChar(text[j])) || (block == caretBlock && i == b))
                    continue;
                if (classes.empty())
                    classes = classOf(block).classes;
                if (!textual(classes[std::size_t(i)]))
                    continue;
                QTextEdit::ExtraSelection mark;
                mark.cursor = QTextCursor(block);
                mark.cursor.setPosition(block.position() + int(i));
                mark.cursor.setPosition(block.position() + int(j), QTextCursor::KeepAnchor);
                mark.format.setBackground(soft);
                marks << mark;
            }
        });
    }
    if (!marks.isEmpty() || !m_occurrenceMarks.isEmpty()) {
        m_occurrenceMarks = marks;
        applyMarks();
    }
}

void CVantrelView::applyMarks()
{
    // The line just shown and the caret word's occurrences, both at once.
    setExtraSelections(m_lineMark + m_occurrenceMarks);
}

CVantrelView::~CVantrelView() { OnDestroy(); }

void CVantrelView::OnDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_timer.stop();
    // Only colours chosen in this run whose write failed: writing the others
    // would undo what another editor has stored meanwhile.
    storeChangedColours();
}

void CVantrelView::storeChangedColours()
{
    if (m_unstoredColours != 0 && m_colours.write(ProfileStore::app(), m_unstoredColours))
        m_unstoredColours = 0;
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
    // The whole script is coloured below: not also as it is typed in.
    const bool asYouType = std::exchange(m_colourAsYouType, false);
    loadText(text);
    m_colourAsYouType = asYouType;
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
    // A long range a part of whole lines at a time, as the export colours:
    // the classes of a whole script are never held at once. Applying them
    // repaints what is on screen of the range; text, selection, scroll
    // position, undo history and modified flag are untouched.
    constexpr qsizetype kPart = 64 * 1024;
    const QStringView text = rawTextView();
    while (from < to) {
        qsizetype end = to;
        if (to - from > kPart) {
            const qsizetype nl = text.indexOf(u'\n', from + kPart);
            end = nl < 0 ? to : std::min(nl + 1, to);
        }
        const HighlightEngine::Result r = m_engine.highlight(text, from, end);
        applyClasses(r.begin, r.classes, m_colours);
        from = end;
    }
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
    // Stored at once, so that an export or another editor started now uses
    // it, and a crash does not lose it.
    m_unstoredColours |= SyntaxColours::rowBit(row);
    storeChangedColours();
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

QString CVantrelView::includeAtCaret() const
{
    const std::optional<IncludeName> include = includeOnLine(textCursor().block().text());
    return include ? include->name : QString();
}

QString CVantrelView::wordAt(const QTextCursor& at) const
{
    const QString line = at.block().text();
    const auto [from, to] = wordBounds(line, at.positionInBlock());
    return line.mid(from, to - from);
}

void CVantrelView::showLine(int line1Based)
{
    goToLine(line1Based);
    QTextEdit::ExtraSelection mark;
    mark.cursor = textCursor();
    mark.format.setBackground(palette().highlight().color().lighter(160));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    m_lineMark = {mark};
    applyMarks();
    m_unmark.start();
}

void CVantrelView::mouseReleaseEvent(QMouseEvent* e)
{
    ScriptEditControl::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton || !(e->modifiers() & Qt::ControlModifier))
        return;
    // A Ctrl+click on an include's name opens the file, as in other editors.
    const QTextCursor at = cursorForPosition(e->position().toPoint());
    const std::optional<IncludeName> include = includeOnLine(at.block().text());
    const qsizetype column = at.positionInBlock();
    if (include && column >= include->start && column <= include->end) {
        emit includeClicked(include->name);
        return;
    }
    if (const QString word = wordAt(at); !word.isEmpty())
        emit wordClicked(word);
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
