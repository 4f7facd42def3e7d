// The debug output panel under the editor: the chosen game's debug.txt as it
// is on disk now, kept up to date while the game writes, deletes or recreates
// it.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

class QFile;
class QLabel;
class QPlainTextEdit;

class DebugPanel : public QWidget {
    Q_OBJECT
public:
    explicit DebugPanel(QWidget* parent = nullptr);

    // The file shown, or the one looked for; empty while no game is chosen.
    // Nothing is read while the panel is hidden: it catches up when shown.
    QString path() const { return m_path; }

public slots:
    // Reads the launch settings and the file again, whatever changed.
    void reload();

    // The line of the log with the caret, for Enter; 0-based.
    int currentLine() const;

signals:
    void openRequested();
    void clearRequested();
    // A double-click, or Enter, on a line that names a script line: file as
    // the log names it (empty: the mission script), line 1-based.
    void lineLinkActivated(const QString& file, int line);

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What was last seen of the file: a change on disk differs in one of these.
    struct Seen {
        QString path;
        bool present = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Seen&) const = default;
    };
    // What the text shows of the file: bytes [end - bytes, end), and the
    // last bytes before end, by which a file that only grew is told apart
    // from one written anew.
    struct Shown {
        qint64 end = -1;
        qint64 bytes = 0;
        QByteArray lastBytes;
        qsizetype column = 0;  // length of the last line shown, before cutting
    };
    void onDiskChange();
    void display(const Seen& seen);
    bool appendGrowth(QFile& file, qint64 size);
    void showTail(QFile& file, qint64 size);
    void showBytes(QByteArray bytes, qint64 end, bool append);
    void watch(const QString& path);
    void markCurrentLine();
    bool activateLine(int line);

    QLabel* m_status;
    QPlainTextEdit* m_text;
    QFileSystemWatcher m_watcher;
    QTimer m_refresh;  // at most one read per interval while the file keeps changing
    QString m_path;
    Seen m_seen;
    Shown m_shown;
    bool m_stale = true;  // something may have changed while the panel was hidden
};
