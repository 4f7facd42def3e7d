// A script as a standalone HTML page, coloured as a whole-text highlight
// colours it: one <pre> in which every character stands in a span that
// gives its colour.
//
// The page is written as the script comes in, a block of whole lines at a
// time: strings, labels and comments end with their line, so a block is
// coloured as it would be within the whole text, and a script of any size
// needs a few blocks of memory. A script file's bytes go into the page
// through one table of 256 entries (Windows-1252 to UTF-8, with the four
// marks HTML escapes); the decoded text serves the colouring only.
#pragma once

#include "editor/SyntaxColours.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QIODevice;

namespace HtmlExport {

// Takes the page in large blocks; false stops the export.
using Sink = std::function<bool(QByteArrayView block)>;

class PageWriter {
public:
    // Writes the head of the page at once.
    PageWriter(const SyntaxColours& colours, QStringView title, Sink sink);

    // The next whole lines of the script (the last may lack its line end),
    // as text with "\n" line ends.
    bool addText(QStringView text);
    // Writes the end of the page; false when the sink refused any block.
    bool finish();

private:
    struct Piece {  // what one byte of a script file becomes in the page
        char bytes[7];
        std::uint8_t size;
    };
    static_assert(sizeof(Piece) == 8);
    friend bool writeScriptPage(QIODevice&, const SyntaxColours&, QStringView, const Sink&, QString*);
    // Whole lines of a script file's bytes, with the class of each character.
    void putScriptBytes(QByteArrayView bytes, const std::vector<std::uint8_t>& classes);
    template <typename Put>
    void colourRuns(const std::vector<std::uint8_t>& classes, Put put);
    void useColourOf(std::uint8_t cls);
    void putBytes(const unsigned char*& in, const unsigned char* end, qsizetype count);
    void putText(QStringView text);
    void append(QByteArrayView bytes);
    char* room(qsizetype size);
    void flush();

    std::array<Piece, 256> m_pieces{};
    std::array<QByteArray, kTextClassCount> m_openers;  // "<span style=...>" of each class's colour
    std::array<ColourRef, kTextClassCount> m_colours{};
    bool m_spanOpen = false;
    ColourRef m_spanColour = 0;
    std::vector<char> m_out;  // the page not yet handed to the sink: [0, m_used)
    qsizetype m_used = 0;
    Sink m_sink;
    bool m_failed = false;
};

// Reads an open script file to its end and writes its page to sink. False
// when either failed: readError then holds the reason if it was the reading.
bool writeScriptPage(QIODevice& script, const SyntaxColours& colours, QStringView title, const Sink& sink,
                     QString* readError);

// The editor's text as a page in the file target, which is replaced whole or
// not at all. Returns why it could not be written, or an empty string.
QString exportText(QStringView text, const SyntaxColours& colours, QStringView title, const QString& target);

}  // namespace HtmlExport
