#include "platform/TextCodec.h"

#include <QFile>

#include <array>

namespace textcodec {
namespace {

// 0x80..0x9F. The five bytes Windows-1252 leaves undefined map to the C1
// control characters of the same value, so they survive a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

QChar decodeByte(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHigh[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

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

QString decode(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r') {
            text += QLatin1Char('\n');
            if (i + 1 < n && bytes[i + 1] == '\n')
                ++i;
        } else {
            text += decodeByte(b);
        }
    }
    return text;
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

ReadResult readScriptFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QString(), file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {QString(), file.errorString()};
    return {decode(bytes), QString()};
}

}  // namespace textcodec
