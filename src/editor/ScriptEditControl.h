// The script editing control: a plain-text editor that keeps a colour per
// character beside the text. Colours are not document formats: they never
// enter the undo history, never mark the document modified and cost no
// relayout of the whole text. They are handed to the layout of the blocks
// being shown, when they are shown.
#pragma once

#include "editor/HighlightEngine.h"
#include "editor/SyntaxColours.h"

#include <QPlainTextEdit>

#include <cstdint>
#include <functional>
#include <vector>

class LineNumberGutter;
class ScriptDocumentLayout;
class WordCompleter;

class ScriptEditControl : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptEditControl(QWidget* parent = nullptr);

    // The text with "\n" line breaks, exactly as it is held (no blank for a
    // no-break space).
    QString rawText() const;
    QStringView rawTextView() const { return m_text; }
    qsizetype textLength() const;

    int lineCount() const;
    qsizetype lineIndex(int line) const;  // start of the line, -1 past the last
    int lineFromChar(qsizetype pos) const;

    // Colour of the character at pos.
    ColourRef colourAt(qsizetype pos) const;
    // The colour that typed text takes at the start of a line.
    void setDefaultColour(ColourRef colour) { m_defaultColour = colour; }
    ColourRef defaultColour() const { return m_defaultColour; }

    // Gives [begin, begin + classes.size()) the colours of their classes;
    // unpainted entries keep their colour.
    void applyClasses(qsizetype begin, const std::vector<std::uint8_t>& classes, const SyntaxColours& colours);

    // False while the document holds an edit whose change it has not yet
    // reported (inside an edit block, as during a drop).
    bool coloursInSync() const { return m_text.size() == textLength(); }

    // Replaces [at[i], at[i] + length) by with for each of count positions
    // (ascending, none overlapping) in one edit, joined to the previous edit
    // when join is set. The text between keeps its colours; each replacement
    // takes the colour in force before it, as typed text does, and is
    // reported by contentsChangedRange where it now lies.
    void replaceEach(const qsizetype* at, qsizetype count, qsizetype length, const QString& with, bool join);

    // Shows text in place of the document's, as setPlainText does.
    void loadText(const QString& text);

    // Replaces the whole text: not undoable, the undo history is dropped.
    void replaceAllText(const QString& text);

    // Calls fn(block, box) for each line on screen that meets the band
    // [top, bottom] of the viewport, top to bottom; box is where the line
    // stands in the viewport.
    void forEachLineShown(int top, int bottom, const std::function<void(const QTextBlock&, const QRectF&)>& fn) const;

    // True when a command of the window has this key.
    bool isWindowShortcut(const QKeyCombination& key) const;

    // The line numbers in a strip at the left, in the default colour.
    void setLineNumbersVisible(bool visible);
    bool lineNumbersVisible() const;

    // Return starts the new line with the blanks and tabs that begin the line
    // it splits.
    void setAutoIndent(bool on) { m_autoIndent = on; }
    bool autoIndent() const { return m_autoIndent; }

    // Puts the caret at the start of a line, 1-based (clamped to the lines
    // there are), and scrolls it into view.
    void goToLine(int line1Based);

    // Completes the word before the caret (Ctrl+Space).
    void completeWord();

signals:
    // Text was pasted or dropped into [start, end).
    void textInserted(qsizetype start, qsizetype end);
    // The changed range of the last undo, [start, end).
    void contentsChangedRange(qsizetype start, qsizetype end);
    // After an edit: lines [firstLine, firstLine + removedLines) of the text
    // before it are now the lines of rawTextView() [from, to).
    void linesReplaced(int firstLine, int removedLines, qsizetype from, qsizetype to);
    // The text was taken again from the document as a whole.
    void textReset();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QMimeData* createMimeDataFromSelection() const override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void onContentsChange(int pos, int removed, int added);
    QString documentText(qsizetype from, qsizetype length) const;
    void resyncText();
    std::uint8_t paletteIndex(ColourRef colour);
    void compactPalette();
    // The lines holding characters [from, to) take their colours again when
    // shown.
    void markStale(qsizetype from, qsizetype to);
    // Repaints what is on screen of lines [first, last].
    void updateShown(int first, int last);
    // Hands the colours to the layouts of the lines on screen within area.
    void applyShownColours(const QRect& area);
    void applyBlockColours(const QTextBlock& block);
    void updateTabStops();
    void updateGutterGeometry();
    bool insertIndentedLineBreak();
    bool selectionSpansLines() const;
    // Indents (1) or outdents (-1) every line of the selection, or the caret's line, in one undo step.
    void shiftLines(int direction);

    QString m_text;                     // the text as the document holds it, "\n" for line breaks
    std::vector<std::uint8_t> m_style;  // palette index per character of m_text
    std::vector<ColourRef> m_palette;
    ColourRef m_defaultColour = 0;
    int m_generation = 0;  // blocks whose user state differs need their colours applied
    bool m_applying = false;
    const QString* m_loading = nullptr;  // the text loadText is showing
    bool m_replacing = false;            // replaceEach brings m_text and m_style up to date itself
    ScriptDocumentLayout* m_layout = nullptr;
    LineNumberGutter* m_gutter = nullptr;
    WordCompleter* m_completer = nullptr;
    bool m_autoIndent = true;
};
