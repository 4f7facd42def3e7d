#include "platform/DiskWatch.h"

#include <QFileInfo>
#include <QTimer>

DiskWatch::DiskWatch(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatch::touched);
    // The folder too: a file written by another program under a new name and
    // renamed over the script, or put back after a deletion, is a change that
    // the watch on the old file no longer sees.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::touched);
}

void DiskWatch::setPath(const QString& path)
{
    if (path == m_path)
        return;
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path = path;
    if (!m_path.isEmpty())
        m_watcher.addPath(QFileInfo(m_path).absolutePath());
    watchAgain();
}

void DiskWatch::watchAgain()
{
    // The watcher lets go of a file that was deleted or replaced by a rename.
    if (!m_path.isEmpty() && !m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
}

void DiskWatch::touched()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        watchAgain();
        emit changed();
    });
}
