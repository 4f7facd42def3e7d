// Script files are 8-bit Windows-1252 text. Every byte value other than the
// line ends maps to one character and back, so a file that is loaded and
// saved again keeps its bytes. CR LF, LF and a lone CR all load as "\n";
// saved lines end with CR LF.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace textcodec {

QChar decodeByte(unsigned char byte);
// The byte for a character, or nothing when it has none in Windows-1252.
std::optional<unsigned char> encodeChar(QChar ch);

// Bytes to text; line ends become "\n".
QString decode(const QByteArray& bytes);

struct EncodeResult {
    QByteArray bytes;
    // Index into the text of the first character with no byte, or -1.
    qsizetype badIndex = -1;
};
// Text to bytes; "\n" becomes CR LF.
EncodeResult encode(QStringView text);

// A script file read from disk: its text, or the reason it could not be read.
struct ReadResult {
    QString text;
    QString error;  // empty on success
};
ReadResult readScriptFile(const QString& path);

}  // namespace textcodec
