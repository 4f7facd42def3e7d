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

QStringList stored(const ProfileStore& store)
{
    QStringList paths;
    for (int i = 1; i <= RecentFiles::kSize; ++i) {
        const QString p = store.getString(str::kSectionRecentFiles, QString(str::kRecentFileEntry).arg(i));
        if (!p.isEmpty())
            paths.append(p);
    }
    return paths;
}

}  // namespace

void RecentFiles::load() { m_paths = stored(m_store); }

bool RecentFiles::save() const
{
    m_store.beginBatch();
    for (int i = 1; i <= kSize; ++i) {
        const QString entry = QString(str::kRecentFileEntry).arg(i);
        m_store.writeString(str::kSectionRecentFiles, entry, i <= m_paths.size() ? m_paths[i - 1] : QString());
    }
    return m_store.commitBatch();
}

bool RecentFiles::update(const std::function<void(QStringList&)>& change)
{
    // Another editor may store its list between our reading and our writing:
    // then read it again and make the change to that.
    for (int attempt = 0; attempt < 8; ++attempt) {
        load();
        const QStringList before = m_paths;
        change(m_paths);
        if (m_paths == before)
            return true;
        m_store.beginBatch();
        save();  // part of the batch committed below
        const ProfileStore::Commit commit =
            m_store.commitBatchIf([&](const ProfileStore& store) { return stored(store) == before; });
        if (commit != ProfileStore::Commit::Refused)
            return commit == ProfileStore::Commit::Stored;
    }
    return false;
}

bool RecentFiles::add(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    return update([&](QStringList& paths) {
        paths.removeIf([&](const QString& p) { return samePath(p, full); });
        paths.prepend(full);
        while (paths.size() > kSize)
            paths.removeLast();
    });
}

bool RecentFiles::remove(const QString& path)
{
    return update([&](QStringList& paths) { paths.removeIf([&](const QString& p) { return samePath(p, path); }); });
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
