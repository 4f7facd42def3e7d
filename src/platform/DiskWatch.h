// Watches the file behind one open script and says, from the event loop,
// that it may have changed. What changed is for the caller to find out (by
// comparing file identities): the signal only says "look again".
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

class DiskWatch : public QObject {
    Q_OBJECT
public:
    explicit DiskWatch(QObject* parent = nullptr);
    // The file to watch; an empty path watches nothing.
    void setPath(const QString& path);

signals:
    // Emitted once for a burst of changes, never from inside the watcher's
    // own signal: whoever listens may ask the user a question.
    void changed();

private:
    void touched();
    void watchAgain();

    QFileSystemWatcher m_watcher;
    QString m_path;
    bool m_pending = false;
};
