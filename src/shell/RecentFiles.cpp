#include "shell/RecentFiles.h"

#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool samePath(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

}  // namespace

void RecentFiles::load()
{
    m_paths.clear();
    for (int i = 1; i <= kSize; ++i) {
        const QString p = m_store.getString(str::kSectionRecentFiles, QString(str::kRecentFileEntry).arg(i));
        if (!p.isEmpty())
            m_paths.append(p);
    }
}

bool RecentFiles::save() const
{
    m_store.beginBatch();
    for (int i = 1; i <= kSize; ++i) {
        const QString entry = QString(str::kRecentFileEntry).arg(i);
        m_store.writeString(str::kSectionRecentFiles, entry, i <= m_paths.size() ? m_paths[i - 1] : QString());
    }
    return m_store.commitBatch();
}

void RecentFiles::add(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    remove(full);
    m_paths.prepend(full);
    while (m_paths.size() > kSize)
        m_paths.removeLast();
}

void RecentFiles::remove(const QString& path)
{
    m_paths.removeIf([&](const QString& p) { return samePath(p, path); });
}

QString RecentFiles::menuText(int index, const QString& path)
{
    QString shown = QDir::toNativeSeparators(path);
    constexpr int kMax = 60;
    if (shown.size() > kMax)
        shown = shown.left(20) + QLatin1String("...") + shown.right(kMax - 23);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
