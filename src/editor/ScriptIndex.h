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

#include <cstdint>
#include <memory>
#include <vector>

// A name on a line and its 0-based column.
struct ScriptWord {
    QString text;
    int column = -1;
    bool isEmpty() const { return column < 0; }
    bool operator==(const ScriptWord&) const = default;
};
inline const ScriptWord kNoWord{};

class QFile;

class ScriptIndex {
public:
    using Word = ScriptWord;

    // What one line holds; most lines hold nothing and have no entry. A
    // line names at most one section, include or banner title: they share
    // one field, as a long script holds many of them.
    struct Line {
        enum class Kind : std::uint8_t { None, Section, Include, Title };
        Word label;   // "End:" defines End
        Word branch;  // the branch or call command
        Word name;    // of the kind below
        Kind kind = Kind::None;
        int openQuote = -1;      // column of a quote that no quote closes on its line
        std::vector<Word> uses;  // the branch's word arguments: labels it may name

        const Word& section() const { return kind == Kind::Section ? name : kNoWord; }  // "; -- Models ----"
        const Word& include() const { return kind == Kind::Include ? name : kNoWord; }  // "#INCLUDE x.shp"
        // "; CREATE UNIVERSE" between two ";------" rules: a banner.
        const Word& title() const { return kind == Kind::Title ? name : kNoWord; }
        bool operator==(const Line&) const = default;

        // A long script has tens of thousands of entries: they come from
        // blocks of their own rather than one heap allocation each.
        static void* operator new(std::size_t size);
        static void operator delete(void* p, std::size_t size);
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
    // Adds a line at the end, for a script read a block at a time.
    void appendLine(QStringView line);
    // Indexes the script file at path afresh, reading it a block at a time.
    // Returns why it could not be read, or an empty string.
    QString readFile(const QString& path);
    // After an edit: lines [first, first + removed) of the text before it are
    // the lines of text [from, to) now. text is the whole text after the
    // edit: a banner's title depends on the lines around it.
    void replaceLines(QStringView text, int first, int removed, qsizetype from, qsizetype to);

    int lineCount() const { return int(m_lines.size()); }
    // The entry of a line; null when it holds nothing the index keeps.
    const Line* line(int n) const { return n >= 0 && n < lineCount() ? m_lines[std::size_t(n)].get() : nullptr; }

    // The sections in line order: the "; -- Name ----" lines and the banners.
    std::vector<Section> sections() const;
    // The lines that define label, in order.
    std::vector<int> definitions(QStringView label) const;
    // The lines whose branch or call names label.
    std::vector<int> uses(QStringView label) const;

    // Whether a line is a rule of dashes, ";------", as banners have above
    // and below their title.
    bool isRule(int n) const { return n >= 0 && n < lineCount() && m_rules[std::size_t(n)]; }

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
    // Appends the lines of file from where it stands to its end.
    QString readRest(QFile& file);
    void settleBanners(QStringView text, int first, int last, qsizetype firstStart);

    std::vector<std::unique_ptr<Line>> m_lines;
    std::vector<bool> m_rules;  // beside the entries: rules are many and hold nothing else
    QString m_lastLine;         // the last line appended, when it may be a title
};
