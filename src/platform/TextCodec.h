// Script files are 8-bit Windows-1252 text. Every byte value other than the
// line ends maps to one character and back, so a file that is loaded and
// saved again keeps its bytes. CR LF, LF and a lone CR all load as "\n";
// saved lines end with CR LF.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

class QFile;

namespace textcodec {

QChar decodeByte(unsigned char byte);
// The byte for a character, or nothing when it has none in Windows-1252.
std::optional<unsigned char> encodeChar(QChar ch);

// Bytes to text; line ends become "\n". The second form reuses the storage
// of text, for a file decoded a block at a time.
QString decode(QByteArrayView bytes);
void decode(QByteArrayView bytes, QString& text);

struct EncodeResult {
    QByteArray bytes;
    // Index into the text of the first character with no byte, or -1.
    qsizetype badIndex = -1;
};
// Text to bytes; "\n" becomes CR LF.
EncodeResult encode(QStringView text);

// No script is near this size; a larger file is refused before it is read,
// and one that grows past it while being read is refused then.
inline constexpr qint64 kMaxScriptBytes = qint64(256) << 20;

// Opens path for reading as a script: a regular file of at most
// kMaxScriptBytes. A FIFO, a device or a folder is refused without waiting on
// it. Returns the reason it cannot be read, or an empty string.
QString openScriptFile(QFile& file, const QString& path);

// Reads file from where it stands to its end a block at a time, and hands
// the text of each block to take, line ends as "\n" (a CR LF that a block's
// end cuts is one line end). Returns why it could not be read, or an empty
// string.
QString readDecoded(QFile& file, const std::function<void(QStringView)>& take);

// A script file read from disk: its text, or the reason it could not be read.
struct ReadResult {
    QString text;
    QString error;  // empty on success
};
ReadResult readScriptFile(const QString& path);

}  // namespace textcodec
