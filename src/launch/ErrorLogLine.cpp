#include "launch/ErrorLogLine.h"

#include <QRegularExpression>

namespace launch {
namespace {

// A file name as the game writes it: a Windows path or a bare name with an
// extension; no blanks, no quotes.
constexpr char kFile[] = R"(([A-Za-z]:[\\/][^\s"'()]*?\.\w+|[\w.\\/-]*\w\.\w+))";

const QRegularExpression& pattern(int which)
{
    using RE = QRegularExpression;
    static const RE lineOfFile(QStringLiteral(R"(\bline\s+(\d+)\s+(?:of|in)\s+["']?)") + QLatin1String(kFile),
                               RE::CaseInsensitiveOption);
    static const RE fileParen(QLatin1String(kFile) + QStringLiteral(R"(\s*\(\s*(\d+)\s*\))"));
    static const RE fileColon(QLatin1String(kFile) + QStringLiteral(R"(:(\d+)\b)"));
    static const RE lineOnly(QStringLiteral(R"(\bline\s+(\d+)\b)"), RE::CaseInsensitiveOption);
    const RE* all[] = {&lineOfFile, &fileParen, &fileColon, &lineOnly};
    return *all[which];
}

std::optional<LogLocation> located(const QString& file, const QString& number)
{
    bool ok = false;
    const int line = number.toInt(&ok);
    if (!ok || line < 1)
        return std::nullopt;
    return LogLocation{file, line};
}

}  // namespace

std::optional<LogLocation> parseErrorLogLine(QStringView text)
{
    // The most precise form first: a bare "line N" is taken only when no file
    // is named in any of the other forms.
    if (const auto m = pattern(0).match(text); m.hasMatch())
        return located(m.captured(2), m.captured(1));
    for (int which : {1, 2}) {
        if (const auto m = pattern(which).match(text); m.hasMatch())
            return located(m.captured(1), m.captured(2));
    }
    if (const auto m = pattern(3).match(text); m.hasMatch())
        return located(QString(), m.captured(1));
    return std::nullopt;
}

}  // namespace launch
