// What each line of a script defines and uses, for the outline, the jumps to
// a label, the hints and "vantrel --check": sections, labels, includes and
// the labels that branch and call commands name. It knows only these shapes
// of the text, nothing of the game.
//
// The index is kept line by line: an edit replaces the entries of the lines
// it touched and leaves the others alone, so a keystroke costs the parse of
// one line however long the script is.
#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class ScriptIndex {
public:
    // A name on a line and its 0-based column.
    struct Word {
        QString text;
        int column = -1;
        bool isEmpty() const { return column < 0; }
        bool operator==(const Word&) const = default;
    };

    // What one line holds; most lines hold nothing and have no entry.
    struct Line {
        Word label;              // "End:" defines End
        Word section;            // "; -- Models ----"
        Word include;            // "#INCLUDE pcorvette.shp"
        Word branch;             // the branch or call command
        std::vector<Word> uses;  // its word arguments: labels it may name
        // A banner is a title line between two rules; each line only knows
        // its own shape, the banner is seen when the sections are listed.
        bool rule = false;   // ";------"
        Word title;          // "; CREATE UNIVERSE"
        int openQuote = -1;  // column of a quote that no quote closes on its line
        bool operator==(const Line&) const = default;
    };

    struct Section {
        int line = 0;
        Word name;
    };

    ScriptIndex() = default;
    explicit ScriptIndex(QStringView text) { reset(text); }
    ScriptIndex(const ScriptIndex&) = delete;
    ScriptIndex& operator=(const ScriptIndex&) = delete;

    // Indexes the whole text afresh ("\n" line breaks).
    void reset(QStringView text);
    // After an edit: lines [first, first + removed) of the text before it are
    // the lines of text [from, to) now. text is the whole text after the
    // edit: a banner's title depends on the lines around it.
    void replaceLines(QStringView text, int first, int removed, qsizetype from, qsizetype to);

    int lineCount() const { return int(m_lines.size()); }
    // The entry of a line; null when it holds nothing the index keeps.
    const Line* line(int n) const { return n >= 0 && n < lineCount() ? m_lines[std::size_t(n)].line.get() : nullptr; }

    // The sections in line order: the "; -- Name ----" lines and the banners.
    std::vector<Section> sections() const;
    // The lines that define label, in order.
    std::vector<int> definitions(QStringView label) const;
    // The lines whose branch or call names label.
    std::vector<int> uses(QStringView label) const;

    // Whether a line is a rule of dashes, ";------", as banners have above
    // and below their title.
    bool isRule(int n) const { return n >= 0 && n < lineCount() && m_lines[std::size_t(n)].rule; }

    // What one line holds, parsed on its own (no "\n" in it); null when
    // nothing. A banner's title needs the lines around it and is not set.
    static std::unique_ptr<Line> parseLine(QStringView text) { return parse(text).line; }

    bool operator==(const ScriptIndex& other) const;

private:
    // Rules are many in a script and hold nothing else: a flag beside the
    // entry, not an entry of their own.
    struct Slot {
        std::unique_ptr<Line> line;
        bool rule = false;
    };
    static Slot parse(QStringView text);
    void settleBanners(QStringView text, int first, int last, qsizetype firstStart);

    std::vector<Slot> m_lines;
};
