// The recent-file list of the File menu: at most four paths, newest first,
// kept in the settings store as File1 to File4 of "Recent File List".
#pragma once

#include <QStringList>

class ProfileStore;

class RecentFiles {
public:
    static constexpr int kSize = 4;

    explicit RecentFiles(ProfileStore& store) : m_store(store) {}

    void load();
    // Writes the list; entries past its end are deleted.
    bool save() const;

    void add(const QString& path);  // to the front; an entry already there moves up
    void remove(const QString& path);
    const QStringList& paths() const { return m_paths; }

    // The text of a menu entry: "&1 " and the path, shortened in the middle when long.
    static QString menuText(int index, const QString& path);

private:
    ProfileStore& m_store;
    QStringList m_paths;
};
