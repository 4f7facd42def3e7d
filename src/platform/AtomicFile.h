// Writes a whole file or nothing: the bytes go to a temporary file beside the
// target, which replaces the target only when every byte reached it.
//
// Some targets cannot be replaced that way. One that is not a regular file (a
// FIFO, a terminal, a device) is written directly: replacing it with a
// regular file would break it. A file with several names, one owned by
// someone else, and a writable file in a folder that takes no new file are
// written in place, once the disk has reserved their new size, so that a full
// disk still fails before a byte of them has changed, and links, owner and
// permissions stay as they were.
//
// A temporary file is named ".NAME.vantrel-PID-RANDOM.tmp"; one left by an
// editor that no longer runs is removed by the next save into its folder.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace atomicfile {

class Writer {
public:
    explicit Writer(const QString& path);
    // Without a commit the target stays as it was, and no temporary file remains.
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Gets the target ready for writing; false when it cannot be written.
    bool open();
    // Appends bytes; false once anything has failed.
    bool write(QByteArrayView bytes);
    // Makes the bytes written the file's content; false when they could not
    // all be stored, the old file then left as it was.
    bool commit();
    // Without it the file is whole or absent for every program, but a power
    // loss soon after may take it: for copies that only need to outlive this
    // process, and are rewritten every few seconds.
    void setDurable(bool durable) { m_durable = durable; }
    // Why the last step failed, in the system's words.
    QString errorString() const { return m_error; }

private:
    enum class Mode { Replace, InPlace, Direct };
    bool fail(int error);
    bool openTemporary(int permissions);
    bool commitInPlace();
    void release();

    QString m_path;
    QString m_target;  // the file replaced: the path with its links followed
    QString m_temporary;
    Mode m_mode = Mode::Replace;
    bool m_durable = true;
    int m_fd = -1;
    QByteArray m_pending;  // in place: the whole content, written at the commit
    QString m_error;
};

// False, with the reason in error, when the file could not be written; the
// old file, if any, is then left exactly as it was.
bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Whether both paths name one existing file, however they reach it: the same
// device and inode, through links or not.
bool sameFile(const QString& a, const QString& b);

}  // namespace atomicfile
