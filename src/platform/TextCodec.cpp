#include "platform/TextCodec.h"

#include "platform/RegularFile.h"
#include "resources/strings.h"

#include <QFile>

#include <array>
#include <cstring>

namespace textcodec {
namespace {

// 0x80..0x9F. The five bytes Windows-1252 leaves undefined map to the C1
// control characters of the same value, so they survive a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The character of every byte, for decoding without a branch per byte.
constexpr std::array<char16_t, 256> kChars = [] {
    std::array<char16_t, 256> t{};
    for (std::size_t b = 0; b < t.size(); ++b)
        t[b] = b >= 0x80 && b <= 0x9F ? kHigh[b - 0x80] : char16_t(b);
    return t;
}();

}  // namespace

QChar decodeByte(unsigned char byte) { return QChar(kChars[byte]); }

std::optional<unsigned char> encodeChar(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

QString decode(QByteArrayView bytes)
{
    QString text;
    decode(bytes, text);
    return text;
}

void decode(QByteArrayView bytes, QString& text)
{
    text.resize(bytes.size());
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = in + bytes.size();
    while (in < end) {
        // Up to the next CR every byte is one character.
        const auto* cr = static_cast<const unsigned char*>(std::memchr(in, '\r', std::size_t(end - in)));
        for (const auto* stop = cr ? cr : end; in < stop; ++in)
            *out++ = kChars[*in];
        if (cr) {
            *out++ = u'\n';
            in = cr + 1;
            if (in < end && *in == '\n')
                ++in;
        }
    }
    text.truncate(out - begin);
}

EncodeResult encode(QStringView text)
{
    EncodeResult result;
    result.bytes.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\n')) {
            result.bytes += "\r\n";
            continue;
        }
        const auto b = encodeChar(ch);
        if (!b) {
            result.badIndex = i;
            result.bytes.clear();
            return result;
        }
        result.bytes += static_cast<char>(*b);
    }
    return result;
}

QString openScriptFile(QFile& file, const QString& path)
{
    QString error;
    if (!regularfile::open(file, path, QIODevice::ReadOnly | QIODevice::Unbuffered, &error))
        return error;
    if (file.size() <= kMaxScriptBytes)
        return QString();
    file.close();
    return str::kScriptTooLarge;
}

QString readDecoded(QFile& file, const std::function<void(QStringView)>& take)
{
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    qsizetype kept = 0;  // a CR that may be the start of a CR LF
    QString text;
    qint64 total = file.pos();
    for (;;) {
        const qint64 got = file.read(bytes.data() + kept, bytes.size() - kept);
        if (got < 0)
            return file.errorString();
        total += got;
        if (total > kMaxScriptBytes)
            return str::kScriptTooLarge;
        const qsizetype have = kept + qsizetype(got);
        kept = got > 0 && bytes[have - 1] == '\r' ? 1 : 0;
        decode(QByteArrayView(bytes.constData(), have - kept), text);
        take(text);
        if (got == 0)
            return QString();
        if (kept)
            bytes[0] = '\r';
    }
}

ReadResult readScriptFile(const QString& path)
{
    QFile file;
    if (const QString error = openScriptFile(file, path); !error.isEmpty())
        return {QString(), error};
    // A block at a time: the bytes of a long script are never held whole
    // beside its text.
    QString text;
    text.reserve(qsizetype(file.size()));
    if (const QString error = readDecoded(file, [&text](QStringView part) { text.append(part); }); !error.isEmpty())
        return {QString(), error};
    return {text, QString()};
}

}  // namespace textcodec
