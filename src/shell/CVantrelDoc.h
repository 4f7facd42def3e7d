// The script document: the file behind the text, its path name, title and
// modified flag, and the file operations New, Open, Save, Save As.
#pragma once

#include "platform/FileIdentity.h"

#include <QObject>
#include <QString>

#include <optional>

class DiskWatch;
class JournalKeeper;
class ScriptText;
class QWidget;

class CVantrelDoc : public QObject {
    Q_OBJECT
public:
    // text holds the script; dialogParent owns the document's dialogs and messages.
    CVantrelDoc(ScriptText& text, QWidget* dialogParent, QObject* parent = nullptr);

    QString GetPathName() const { return m_pathName; }
    QString GetTitle() const;
    bool IsModified() const;
    void SetModifiedFlag(bool modified);
    // A script opened for reading only (its lines are too long to edit).
    bool isReadOnly() const { return m_readOnly; }

    // An empty, untitled, unmodified document.
    bool OnNewDocument();
    // Loads the file; on failure the document is left as it was and error says why.
    bool OnOpenDocument(const QString& path, QString* error);
    // Writes the text to path as 8-bit text with CR LF line ends, through a
    // temporary file that replaces the old one only when complete. On failure
    // the old file is untouched and error says why.
    bool OnSaveDocument(const QString& path, QString* error);

    // The framework's flows, with their dialogs and messages.
    bool SaveModified();                         // asks to save a modified document; false: the user cancelled
    bool DoFileSave();                           // Save: Save As when there is no path yet
    bool DoSave(const QString& path);            // Save As when path is empty
    bool OpenWithMessages(const QString& path);  // Open, reporting a failure

    // The Open and Save As dialogs' filter: script files, then all files.
    static QString fileFilter();

    // Shows text recovered from a copy of unsaved work as the script at path
    // (empty: untitled), with unsaved changes; identity is the file as the
    // editor that made the copy last read or wrote it.
    void OpenRecovered(const QString& path, const QString& text, const FileIdentity& identity);
    // The program must end without questions: the unsaved text goes into
    // the recovery journal now.
    void keepForRecovery();
    // The script is being closed and its changes, if any, were let go.
    void discardRecovery();

signals:
    // The caption changes: another path, or the modified flag.
    void titleChanged();
    // A file was opened or saved under this path (for the recent-file list).
    void documentPathUsed(const QString& path);

private:
    void setPathName(const QString& path);
    void setFileIdentity(const FileIdentity& identity);
    void checkFileOnDisk();
    bool agreeToSaveOver(const QString& target);

    ScriptText& m_text;
    QWidget* m_dialogParent;
    QString m_pathName;
    bool m_readOnly = false;
    // The file as this editor last read or wrote it, and a later version of
    // it that the user chose not to load.
    FileIdentity m_identity;
    std::optional<FileIdentity> m_declined;
    bool m_askingAboutDisk = false;
    DiskWatch* m_watch;
    JournalKeeper* m_journal;
};
