#include "editor/ScriptEditControl.h"

#include "editor/LineNumberGutter.h"
#include "editor/QtColours.h"
#include "editor/WordCompleter.h"
#include "platform/ScriptFont.h"
#include "resources/style.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

bool hasLocalFiles(const QMimeData* m)
{
    if (!m || !m->hasUrls())
        return false;
    const QList<QUrl> urls = m->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); });
}

}  // namespace

// The colours of a line go to its layout as it is painted, and the document
// counts that line as changed, to be reported with the next edit. The base
// class then reads the next key press as a change of several lines, or of
// a line reaching into the next: it takes `removed` characters replaced by
// `added` as reaching removed + added characters. Every key press laid out
// and repainted the whole view. The edit as the control found it, narrowed
// to the characters that changed, is laid out instead when it stays within
// one line.
class ScriptDocumentLayout : public QPlainTextDocumentLayout {
public:
    explicit ScriptDocumentLayout(QTextDocument* doc) : QPlainTextDocumentLayout(doc), m_blocks(doc->blockCount()) {}

    // The change about to be reported as (from, removed, added) replaced
    // text at `at` with `inserted` characters.
    void noteEdit(int from, int removed, int added, qsizetype at, qsizetype inserted)
    {
        m_edit = {from, removed, added, at, inserted};
    }

    void documentChanged(int from, int removed, int added) override
    {
        QTextDocument* doc = document();
        const int blocks = std::exchange(m_blocks, doc->blockCount());
        const Edit edit = std::exchange(m_edit, {});
        qsizetype at = from;
        qsizetype inserted = added;
        if (edit.from == from && edit.removed == removed && edit.added == added) {
            at = edit.at;
            inserted = edit.inserted;
        }
        // With as many lines as before and no line break among the characters
        // inserted, nothing removed held a line break either.
        const QTextBlock first = doc->findBlock(int(at));
        const bool oneLine = blocks == m_blocks && first.isValid() &&
                             doc->findBlock(int(at + std::max<qsizetype>(inserted, 1) - 1)) == first;
        if (oneLine)
            QPlainTextDocumentLayout::documentChanged(int(at), 0, 1);
        else
            QPlainTextDocumentLayout::documentChanged(from, removed, added);
    }

private:
    struct Edit {
        int from = -1;
        int removed = 0;
        int added = 0;
        qsizetype at = 0;
        qsizetype inserted = 0;
    };
    int m_blocks;
    Edit m_edit;
};

ScriptEditControl::ScriptEditControl(QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("RICHEDIT"));
    auto* doc = new QTextDocument(this);
    m_layout = new ScriptDocumentLayout(doc);
    doc->setDocumentLayout(m_layout);
    setDocument(doc);
    // The gutter first: setting the font sizes it.
    m_gutter = new LineNumberGutter(this, [this] { return toQColor(m_defaultColour); });
    m_completer = new WordCompleter(this);
    scriptfont::apply(this);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    updateTabStops();
    m_palette.push_back(m_defaultColour);
    connect(document(), &QTextDocument::contentsChange, this, &ScriptEditControl::onContentsChange);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &ScriptEditControl::updateGutterGeometry);
    updateGutterGeometry();
}

void ScriptEditControl::updateTabStops() { scriptfont::setTabStops(this); }

void ScriptEditControl::changeEvent(QEvent* e)
{
    QPlainTextEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        updateTabStops();
        updateGutterGeometry();
    }
}

void ScriptEditControl::setLineNumbersVisible(bool visible)
{
    m_gutter->setVisible(visible);
    updateGutterGeometry();
}

bool ScriptEditControl::lineNumbersVisible() const { return !m_gutter->isHidden(); }

void ScriptEditControl::updateGutterGeometry()
{
    // The viewport gives up the gutter's width at its left; the gutter sits
    // in that margin, as high as the viewport.
    const int width = lineNumbersVisible() ? m_gutter->neededWidth() : 0;
    if (viewportMargins().left() != width)
        setViewportMargins(width, 0, 0, 0);
    const QRect area = contentsRect();
    m_gutter->setGeometry(area.left(), area.top(), width, area.height());
}

void ScriptEditControl::resizeEvent(QResizeEvent* e)
{
    // Lines never wrap, so a new width changes no line's layout. Told of a
    // new width, the base class would still lay the whole script out anew,
    // and give every line a layout object of its own on the way: tens of
    // megabytes for a long script, and a pass over every line at each step
    // of dragging the window's edge. It is told of the new height only; the
    // scroll bars follow the new size all the same.
    QResizeEvent heightOnly(e->size(), QSize(e->size().width(), e->oldSize().height()));
    QPlainTextEdit::resizeEvent(&heightOnly);
    updateGutterGeometry();
}

void ScriptEditControl::goToLine(int line1Based)
{
    const int line = std::clamp(line1Based, 1, lineCount()) - 1;
    setTextCursor(QTextCursor(document()->findBlockByNumber(line)));
    centerCursor();
}

void ScriptEditControl::completeWord() { m_completer->complete(rawTextView()); }

void ScriptEditControl::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    if (m_completer->isPopupVisible() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
                                          key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        // Left to the open list: it takes the word or closes.
        e->ignore();
        return;
    }
    if (e->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Space)) {
        completeWord();
        e->accept();
        return;
    }
    // Tab on a selection of several lines, and Shift+Tab anywhere, shift whole lines.
    const bool plainTab = key == Qt::Key_Tab && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!isReadOnly() && (key == Qt::Key_Backtab || (plainTab && selectionSpansLines()))) {
        shiftLines(key == Qt::Key_Backtab ? -1 : 1);
        e->accept();
        return;
    }
    const bool plainReturn =
        (key == Qt::Key_Return || key == Qt::Key_Enter) && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plainReturn && m_autoIndent && !isReadOnly() && insertIndentedLineBreak()) {
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
    if (m_completer->isPopupVisible())
        m_completer->followTyping();
}

bool ScriptEditControl::selectionSpansLines() const
{
    const QTextCursor c = textCursor();
    return c.hasSelection() && document()->findBlock(c.selectionStart()) != document()->findBlock(c.selectionEnd());
}

void ScriptEditControl::shiftLines(int direction)
{
    QTextCursor c = textCursor();
    const QTextBlock first = document()->findBlock(c.selectionStart());
    QTextBlock last = document()->findBlock(c.selectionEnd());
    // A selection that ends at the start of a line does not take that line in.
    if (last != first && c.selectionEnd() == last.position())
        last = last.previous();
    const bool anchorFirst = c.anchor() <= c.position();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        edit.setPosition(b.position());
        if (direction > 0) {
            edit.insertText(QStringLiteral("\t"));
        } else {
            // One tab, or up to a tab's width of blanks.
            const QString text = b.text();
            qsizetype n = 0;
            if (text.startsWith(QLatin1Char('\t')))
                n = 1;
            else
                while (n < text.size() && n < res::kTabWidth && text[n] == QLatin1Char(' '))
                    ++n;
            if (n > 0) {
                edit.setPosition(b.position() + int(n), QTextCursor::KeepAnchor);
                edit.removeSelectedText();
            }
        }
        if (b == last)
            break;
    }
    edit.endEditBlock();
    if (first == last)
        return;  // one line: the caret or selection moved with its text
    // The selection stays on the same lines, from the first one's start to the last one's end.
    const int from = first.position();
    const int to = last.position() + last.length() - 1;
    QTextCursor keep(document());
    keep.setPosition(anchorFirst ? from : to);
    keep.setPosition(anchorFirst ? to : from, QTextCursor::KeepAnchor);
    setTextCursor(keep);
}

bool ScriptEditControl::insertIndentedLineBreak()
{
    // The indent is what the line holds before the caret in blanks and tabs:
    // splitting a line inside its indent copies only the part left of the caret.
    QTextCursor c = textCursor();
    const QTextBlock block = document()->findBlock(c.selectionStart());
    const QString before = block.text().left(c.selectionStart() - block.position());
    qsizetype n = 0;
    while (n < before.size() && (before[n] == QLatin1Char(' ') || before[n] == QLatin1Char('\t')))
        ++n;
    if (n == 0)
        return false;  // the control's own Return
    // One edit block: one Undo takes back the line break and its indent.
    c.beginEditBlock();
    c.insertText(QLatin1Char('\n') + before.left(n));
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
    return true;
}

QString ScriptEditControl::rawText() const { return m_text; }

qsizetype ScriptEditControl::textLength() const { return document()->characterCount() - 1; }

int ScriptEditControl::lineCount() const { return document()->blockCount(); }

qsizetype ScriptEditControl::lineIndex(int line) const
{
    if (line < 0)
        return -1;
    const QTextBlock b = document()->findBlockByNumber(line);
    return b.isValid() ? b.position() : -1;
}

int ScriptEditControl::lineFromChar(qsizetype pos) const
{
    const QTextBlock b = document()->findBlock(int(std::clamp<qsizetype>(pos, 0, textLength())));
    return b.isValid() ? b.blockNumber() : document()->blockCount() - 1;
}

ColourRef ScriptEditControl::colourAt(qsizetype pos) const
{
    if (pos < 0 || pos >= qsizetype(m_style.size()))
        return m_defaultColour;
    return m_palette[m_style[std::size_t(pos)]];
}

std::uint8_t ScriptEditControl::paletteIndex(ColourRef colour)
{
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        if (m_palette[i] == colour)
            return std::uint8_t(i);
    }
    if (m_palette.size() >= 255)
        compactPalette();
    m_palette.push_back(colour);
    return std::uint8_t(m_palette.size() - 1);
}

void ScriptEditControl::compactPalette()
{
    // Colours no character uses any more are dropped; the rest are renumbered.
    std::vector<int> remap(m_palette.size(), -1);
    std::vector<ColourRef> kept;
    for (std::uint8_t& s : m_style) {
        if (remap[s] < 0) {
            remap[s] = int(kept.size());
            kept.push_back(m_palette[s]);
        }
        s = std::uint8_t(remap[s]);
    }
    m_palette = std::move(kept);
}

QString ScriptEditControl::documentText(qsizetype from, qsizetype length) const
{
    if (length <= 0)
        return QString();
    QTextCursor c(document());
    c.setPosition(int(from));
    c.setPosition(int(from + length), QTextCursor::KeepAnchor);
    QString text = c.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void ScriptEditControl::onContentsChange(int pos, int removed, int added)
{
    if (m_applying || m_replacing)
        return;
    // The reported range can be far wider than the edit: the first key
    // press after a load reports the whole text as removed and added again.
    // Comparing the range with the copy of the text kept here narrows it to
    // what really changed, so the colours around an edit survive it.
    const qsizetype total = textLength();
    const qsizetype oldSize = m_text.size();
    const qsizetype from = std::clamp<qsizetype>(pos, 0, oldSize);
    qsizetype rem = std::clamp<qsizetype>(removed, 0, oldSize - from);
    qsizetype ins = total - (oldSize - rem);
    if (ins < 0) {
        rem = std::min(oldSize - from, rem - ins);
        ins = total - (oldSize - rem);
    }
    if (ins < 0 || from + ins > total) {
        resyncText();
        return;
    }
    // A whole text being loaded is the text the document now holds: taken
    // as it is rather than read back, a copy of the whole script fewer.
    const bool loaded = m_loading && from == 0 && rem == oldSize && ins == m_loading->size();
    const QString now = loaded ? *m_loading : documentText(from, ins);
    const QStringView before = QStringView(m_text).sliced(from, rem);
    qsizetype prefix = 0;
    const qsizetype common = std::min(rem, ins);
    while (prefix < common && before[prefix] == now[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && before[rem - 1 - suffix] == now[ins - 1 - suffix])
        ++suffix;
    const qsizetype at = from + prefix;
    rem -= prefix + suffix;
    ins -= prefix + suffix;
    if (rem == 0 && ins == 0)
        return;
    m_layout->noteEdit(pos, removed, added, at, ins);

    // Text that is typed or inserted takes the colour in force at the caret:
    // that of the character before it on the same line, or the default colour
    // at the start of a line.
    const bool lineStart = at == 0 || m_text[at - 1] == QLatin1Char('\n');
    const std::uint8_t fill = lineStart ? paletteIndex(m_defaultColour) : m_style[std::size_t(at - 1)];

    // Nothing before at changed, so its block in the document as it is now
    // is its line in the text as it was.
    const int firstLine = document()->findBlock(int(at)).blockNumber();
    const int removedLines = int(QStringView(m_text).sliced(at, rem).count(QLatin1Char('\n'))) + 1;
    if (loaded)
        m_text = now;
    else
        m_text.replace(at, rem, now.constData() + prefix, ins);
    const auto it = m_style.begin() + at;
    if (rem > 0)
        m_style.erase(it, it + rem);
    if (ins > 0)
        m_style.insert(m_style.begin() + at, std::size_t(ins), fill);

    markStale(at, at + std::max<qsizetype>(ins, 1));
    const qsizetype lineFrom = at > 0 ? m_text.lastIndexOf(QLatin1Char('\n'), at - 1) + 1 : 0;
    const qsizetype lineEnd = m_text.indexOf(QLatin1Char('\n'), at + ins);
    emit linesReplaced(firstLine, removedLines, lineFrom, lineEnd < 0 ? m_text.size() : lineEnd);
    emit contentsChangedRange(at, at + ins);
}

void ScriptEditControl::replaceEach(const qsizetype* at, qsizetype count, qsizetype length, const QString& with,
                                    bool join)
{
    if (count <= 0)
        return;
    // Every replacement in one edit block: the document tells its layout and
    // this control of the change once, not once per replacement, and the
    // copy of the text and its colours are brought up to date in one pass
    // below rather than moved along for each replacement. From the end, so
    // that the positions before stay valid.
    m_replacing = true;
    QTextCursor c(document());
    if (join)
        c.joinPreviousEditBlock();
    else
        c.beginEditBlock();
    for (qsizetype i = count - 1; i >= 0; --i) {
        c.setPosition(int(at[i]));
        c.setPosition(int(at[i] + length), QTextCursor::KeepAnchor);
        c.insertText(with);
    }
    c.endEditBlock();
    m_replacing = false;

    const qsizetype first = at[0];
    const qsizetype end = at[count - 1] + length;
    const qsizetype grow = with.size() - length;
    QString text;
    std::vector<std::uint8_t> style;
    text.reserve(end - first + count * grow);
    style.reserve(std::size_t(end - first + count * grow));
    const std::uint8_t lineStartFill = paletteIndex(m_defaultColour);
    qsizetype from = first;
    for (qsizetype i = 0; i < count; ++i) {
        text.append(QStringView(m_text).sliced(from, at[i] - from));
        style.insert(style.end(), m_style.begin() + from, m_style.begin() + at[i]);
        const qsizetype pos = first + text.size();
        const bool lineStart = pos == 0 || (text.isEmpty() ? m_text[pos - 1] : text.back()) == QLatin1Char('\n');
        const std::uint8_t fill =
            lineStart ? lineStartFill : (style.empty() ? m_style[std::size_t(pos - 1)] : style.back());
        text.append(with);
        style.insert(style.end(), std::size_t(with.size()), fill);
        from = at[i] + length;
    }
    m_text.replace(first, end - first, text);
    // One move of what follows, as the text's own replace does.
    const std::size_t newEnd = std::size_t(first) + style.size();
    if (grow > 0) {
        m_style.resize(m_style.size() + std::size_t(count * grow));
        std::move_backward(m_style.begin() + end, m_style.end() - count * grow, m_style.end());
    } else if (grow < 0) {
        m_style.erase(std::move(m_style.begin() + end, m_style.end(), m_style.begin() + qsizetype(newEnd)),
                      m_style.end());
    }
    std::copy(style.begin(), style.end(), m_style.begin() + first);
    if (!coloursInSync()) {
        resyncText();
        return;
    }
    markStale(first, first + text.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype pos = at[i] + i * grow;
        emit contentsChangedRange(pos, pos + with.size());
    }
}

void ScriptEditControl::resyncText()
{
    m_text = document()->toRawText();
    m_text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    m_style.assign(std::size_t(m_text.size()), paletteIndex(m_defaultColour));
    ++m_generation;
    emit textReset();
    viewport()->update();
}

void ScriptEditControl::markStale(qsizetype from, qsizetype to)
{
    QTextDocument* doc = document();
    const QTextBlock first = doc->findBlock(int(from));
    const QTextBlock last = doc->findBlock(int(std::max(from, std::min(to, textLength()) - 1)));
    int count = 0;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (++count > 256) {
            // Too many to visit one by one: every block looks again when shown.
            ++m_generation;
            break;
        }
        block.setUserState(-1);
        if (block == last)
            break;
    }
    updateShown(first.blockNumber(), last.isValid() ? last.blockNumber() : doc->blockCount() - 1);
}

void ScriptEditControl::updateShown(int first, int last)
{
    // Only the lines of the range that are on screen are painted again:
    // a key press recolours its line, not the whole view.
    // Lines never wrap: no more lines are shown than the viewport's height
    // holds. A range off screen, as most of a Replace All's thousands are,
    // is passed over without looking at the lines shown.
    const int top = firstVisibleBlock().blockNumber();
    const int shown = viewport()->height() / std::max(1, fontMetrics().lineSpacing()) + 2;
    if (last < top || first > top + shown)
        return;
    QRectF area;
    forEachLineShown(0, viewport()->height(), [&](const QTextBlock& block, const QRectF& box) {
        const int n = block.blockNumber();
        if (n >= first && n <= last)
            area |= box;
    });
    if (!area.isEmpty())
        viewport()->update(
            QRect(0, int(std::floor(area.top())), viewport()->width(), int(std::ceil(area.height())) + 1));
}

void ScriptEditControl::forEachLineShown(int top, int bottom,
                                         const std::function<void(const QTextBlock&, const QRectF&)>& fn) const
{
    QTextBlock block = firstVisibleBlock();
    if (!block.isValid())
        return;
    // Each line's place follows from the one above it; asking the base class
    // for a line's place walks down from the top line each time.
    QRectF box = blockBoundingGeometry(block).translated(contentOffset());
    for (; block.isValid() && box.top() <= bottom; block = block.next()) {
        if (!block.isVisible())
            continue;
        box.setHeight(blockBoundingRect(block).height());
        if (box.bottom() >= top)
            fn(block, box);
        box.translate(0, box.height());
    }
}

void ScriptEditControl::applyClasses(qsizetype begin, const std::vector<std::uint8_t>& classes,
                                     const SyntaxColours& colours)
{
    std::uint8_t index[kTextClassCount];
    for (int c = 0; c < kTextClassCount; ++c)
        index[c] = paletteIndex(colours.forClass(TextClass(c)));
    // paletteIndex may compact the palette; take the indices again if it did.
    for (int c = 0; c < kTextClassCount; ++c)
        index[c] = paletteIndex(colours.forClass(TextClass(c)));

    const qsizetype size = qsizetype(m_style.size());
    qsizetype first = -1;
    qsizetype last = -1;
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const qsizetype pos = begin + qsizetype(i);
        if (classes[i] == HighlightEngine::kUnpainted || pos < 0 || pos >= size)
            continue;
        m_style[std::size_t(pos)] = index[classes[i]];
        if (first < 0)
            first = pos;
        last = pos;
    }
    if (first >= 0)
        markStale(first, last + 1);
}

void ScriptEditControl::applyBlockColours(const QTextBlock& block)
{
    QList<QTextLayout::FormatRange> ranges;
    const qsizetype start = block.position();
    const qsizetype len = block.length() - 1;  // without the line break
    qsizetype i = 0;
    while (i < len && start + i < qsizetype(m_style.size())) {
        const std::uint8_t s = m_style[std::size_t(start + i)];
        qsizetype j = i + 1;
        while (j < len && start + j < qsizetype(m_style.size()) && m_style[std::size_t(start + j)] == s)
            ++j;
        QTextLayout::FormatRange r;
        r.start = int(i);
        r.length = int(j - i);
        r.format.setForeground(toQColor(m_palette[s]));
        ranges.append(r);
        i = j;
    }
    m_applying = true;
    block.layout()->setFormats(ranges);
    m_applying = false;
    const_cast<QTextBlock&>(block).setUserState(m_generation);
}

void ScriptEditControl::applyShownColours(const QRect& area)
{
    forEachLineShown(area.top(), area.bottom(), [this](const QTextBlock& block, const QRectF&) {
        if (block.userState() != m_generation)
            applyBlockColours(block);
    });
}

void ScriptEditControl::paintEvent(QPaintEvent* e)
{
    applyShownColours(e->rect());
    QPlainTextEdit::paintEvent(e);
}

void ScriptEditControl::loadText(const QString& text)
{
    // The document reads these as line breaks of its own.
    const bool asHeld = std::none_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u == u'\r' || u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1;
    });
    m_loading = asHeld ? &text : nullptr;
    setPlainText(text);
    m_loading = nullptr;
}

void ScriptEditControl::replaceAllText(const QString& text)
{
    const bool undo = document()->isUndoRedoEnabled();
    document()->setUndoRedoEnabled(false);
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    c.insertText(text);
    document()->setUndoRedoEnabled(undo);
}

bool ScriptEditControl::isWindowShortcut(const QKeyCombination& key) const
{
    const QKeySequence pressed(key);
    const QList<QAction*> actions = window()->actions();
    return std::any_of(actions.begin(), actions.end(), [&](const QAction* a) {
        const QList<QKeySequence> keys = a->shortcuts();
        return keys.contains(pressed);
    });
}

bool ScriptEditControl::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // The window's command keys come first: Copy, Paste, Undo and the
        // rest must reach their commands, which colour what they insert.
        auto* ke = static_cast<QKeyEvent*>(e);
        if (isWindowShortcut(ke->keyCombination())) {
            e->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(e);
}

bool ScriptEditControl::canInsertFromMimeData(const QMimeData* source) const
{
    if (hasLocalFiles(source))
        return false;
    return source && source->hasText();
}

QMimeData* ScriptEditControl::createMimeDataFromSelection() const
{
    // Plain text only: colours are never copied.
    auto* data = new QMimeData;
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    data->setText(text);
    return data;
}

void ScriptEditControl::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor c = textCursor();
    const qsizetype start = c.selectionStart();
    c.insertText(text);
    setTextCursor(c);
    emit textInserted(start, c.position());
}

void ScriptEditControl::dragEnterEvent(QDragEnterEvent* e)
{
    // Dropped files are opened by the frame, not pasted as text.
    if (hasLocalFiles(e->mimeData())) {
        e->ignore();
        return;
    }
    QPlainTextEdit::dragEnterEvent(e);
}

void ScriptEditControl::dragMoveEvent(QDragMoveEvent* e)
{
    if (hasLocalFiles(e->mimeData())) {
        e->ignore();
        return;
    }
    QPlainTextEdit::dragMoveEvent(e);
}

void ScriptEditControl::dropEvent(QDropEvent* e)
{
    if (hasLocalFiles(e->mimeData())) {
        e->ignore();
        return;
    }
    QPlainTextEdit::dropEvent(e);
}
