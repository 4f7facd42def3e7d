// The recent-file list of the File menu: at most four paths, newest first,
// kept in the settings store as File1 to File4 of "Recent File List".
#pragma once

#include <QStringList>

#include <functional>

class ProfileStore;

class RecentFiles {
public:
    static constexpr int kSize = 4;

    explicit RecentFiles(ProfileStore& store) : m_store(store) {}

    // The list as the store holds it now.
    void load();
    // Writes the list as it is here; entries past its end are deleted.
    bool save() const;

    // Each change is made to the list as the store holds it now (another
    // editor's entries stay) and stored at once. False when it could not be
    // stored; the list here has the change either way.
    bool add(const QString& path);  // to the front; an entry already there moves up
    bool remove(const QString& path);
    const QStringList& paths() const { return m_paths; }

    // The text of a menu entry: "&1 " and the path, shortened in the middle when long.
    static QString menuText(int index, const QString& path);

private:
    bool update(const std::function<void(QStringList&)>& change);

    ProfileStore& m_store;
    QStringList m_paths;
};
