#include "shell/CVantrelDoc.h"

#include "editor/ScriptText.h"
#include "platform/AtomicFile.h"
#include "platform/DiskWatch.h"
#include "platform/FileDialogs.h"
#include "platform/LongLines.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"
#include "shell/JournalKeeper.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>
#include <QTimer>

using longlines::kLongestEditableLine;
using longlines::longestLine;

CVantrelDoc::CVantrelDoc(ScriptText& text, QWidget* dialogParent, QObject* parent)
    : QObject(parent),
      m_text(text),
      m_dialogParent(dialogParent),
      m_watch(new DiskWatch(this)),
      m_journal(new JournalKeeper(
          text, [this] { return std::pair(m_pathName, m_identity); }, this))
{
    connect(m_text.scriptDocument(), &QTextDocument::modificationChanged, this, &CVantrelDoc::titleChanged);
    connect(m_watch, &DiskWatch::changed, this, &CVantrelDoc::checkFileOnDisk);
}

QString CVantrelDoc::GetTitle() const
{
    return m_pathName.isEmpty() ? QString(str::kUntitled) : QFileInfo(m_pathName).fileName();
}

bool CVantrelDoc::IsModified() const { return m_text.scriptDocument()->isModified(); }

void CVantrelDoc::SetModifiedFlag(bool modified) { m_text.scriptDocument()->setModified(modified); }

QString CVantrelDoc::fileFilter() { return QString(str::kDocFilterName) + QLatin1String(";;") + str::kAllFilesFilter; }

void CVantrelDoc::setPathName(const QString& path)
{
    m_pathName = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_watch->setPath(m_pathName);
    emit titleChanged();
}

void CVantrelDoc::setFileIdentity(const FileIdentity& identity)
{
    m_identity = identity;
    m_declined.reset();
}

bool CVantrelDoc::OnNewDocument()
{
    m_readOnly = false;
    m_text.loadScript(QString(), false);
    // Loading a text clears the modified flag without a word.
    m_journal->discard();
    setPathName(QString());
    setFileIdentity(FileIdentity());
    return true;
}

bool CVantrelDoc::OnOpenDocument(const QString& path, QString* error)
{
    // Taken before reading: a change made while the file is read then shows
    // as a change.
    const FileIdentity identity = FileIdentity::of(path);
    const textcodec::ReadResult read = textcodec::readScriptFile(path);
    if (!read.error.isEmpty()) {
        if (error)
            *error = read.error;
        return false;
    }
    const qsizetype longest = longestLine(read.text);
    m_readOnly = longest > kLongestEditableLine;
    if (m_readOnly) {
        // Shown with its long lines cut, so that the editor stays responsive.
        QString shown;
        longestLine(read.text, &shown);
        m_text.loadScript(shown, true);
    } else {
        m_text.loadScript(read.text, false);
    }
    m_journal->discard();
    setPathName(path);
    setFileIdentity(identity);
    if (m_readOnly) {
        mb::show(m_dialogParent,
                 QString(str::kOpenedReadOnly)
                     .arg(QDir::toNativeSeparators(m_pathName))
                     .arg(longest)
                     .arg(kLongestEditableLine),
                 str::kAppName, mb::MB_OK | mb::MB_ICONEXCLAMATION);
    }
    emit documentPathUsed(m_pathName);
    return true;
}

bool CVantrelDoc::OnSaveDocument(const QString& path, QString* error)
{
    const QString text = m_text.scriptText();
    const textcodec::EncodeResult enc = textcodec::encode(text);
    if (enc.badIndex >= 0) {
        // A character with no byte in a script file would be changed on the
        // way to disk: refuse rather than lose it.
        const qsizetype line = text.left(enc.badIndex).count(QLatin1Char('\n')) + 1;
        if (error)
            *error = QString(str::kSaveUnencodable).arg(line).arg(text.at(enc.badIndex));
        return false;
    }
    QString reason;
    if (!atomicfile::write(path, enc.bytes, &reason)) {
        if (error)
            *error = QString(str::kSaveFailed).arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    SetModifiedFlag(false);
    setPathName(path);
    setFileIdentity(FileIdentity::of(m_pathName));
    emit documentPathUsed(m_pathName);
    return true;
}

bool CVantrelDoc::SaveModified()
{
    if (!IsModified())
        return true;
    const int answer = mb::show(m_dialogParent, QString(str::kSaveChangesQuestion).arg(GetTitle()), str::kAppName,
                                mb::MB_YESNOCANCEL | mb::MB_ICONEXCLAMATION);
    if (answer == mb::IDCANCEL)
        return false;
    if (answer == mb::IDNO)
        return true;
    return DoFileSave();
}

bool CVantrelDoc::DoFileSave() { return DoSave(m_pathName); }

bool CVantrelDoc::DoSave(const QString& path)
{
    if (m_readOnly) {
        // Saving would rewrite the file it was opened from: it stays as it is.
        mb::show(m_dialogParent, QString(str::kReadOnlyNotSaved).arg(GetTitle()), str::kAppName,
                 mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return false;
    }
    QString target = path;
    if (target.isEmpty()) {
        const QString proposed = m_pathName.isEmpty() ? GetTitle() + str::kDocFilterExt : m_pathName;
        target = filedlg::getSaveFileName(m_dialogParent, proposed, fileFilter(), QString(str::kDocFilterExt).mid(1));
        if (target.isEmpty())
            return false;
    }
    if (!agreeToSaveOver(target))
        return false;
    QString error;
    if (!OnSaveDocument(target, &error)) {
        mb::show(m_dialogParent, error, str::kAppName, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CVantrelDoc::OpenWithMessages(const QString& path)
{
    QString error;
    if (OnOpenDocument(path, &error))
        return true;
    mb::show(m_dialogParent, QString(str::kOpenFailed).arg(QDir::toNativeSeparators(path), error), str::kAppName,
             mb::MB_OK | mb::MB_ICONEXCLAMATION);
    return false;
}

bool CVantrelDoc::agreeToSaveOver(const QString& target)
{
    // Another program's version of the file is not overwritten unasked,
    // whatever was answered when the change was noticed. Saving to another
    // file overwrites nothing of this script's.
    if (m_pathName.isEmpty() || QFileInfo(target).absoluteFilePath() != m_pathName)
        return true;
    const FileIdentity now = FileIdentity::of(m_pathName);
    if (!now.exists() || now == m_identity)
        return true;
    const QString path = m_pathName;
    const int answer = mb::show(m_dialogParent, QString(str::kSaveOverChanges).arg(GetTitle()), str::kAppName,
                                mb::MB_YESNO | mb::MB_ICONEXCLAMATION | mb::MB_DEFBUTTON2);
    // During the question another script may have taken this one's place.
    return answer == mb::IDYES && m_pathName == path;
}

void CVantrelDoc::checkFileOnDisk()
{
    if (m_askingAboutDisk || m_pathName.isEmpty())
        return;
    const FileIdentity now = FileIdentity::of(m_pathName);
    if (now == m_identity || now == m_declined)
        return;
    if (!now.exists()) {
        // Deleted or moved away: the text is all that is left of it, and
        // Save writes it again.
        m_declined = now;
        SetModifiedFlag(true);
        return;
    }
    const QString path = m_pathName;
    const bool modified = IsModified();
    m_askingAboutDisk = true;
    const int answer = mb::show(
        m_dialogParent, QString(modified ? str::kChangedOnDiskLoseChanges : str::kChangedOnDiskReload).arg(GetTitle()),
        str::kAppName, mb::MB_YESNO | mb::MB_ICONEXCLAMATION | (modified ? mb::MB_DEFBUTTON2 : 0));
    m_askingAboutDisk = false;
    // The question's event loop let anything happen: another script in this
    // one's place, or changes made to the text that the answer did not cover.
    if (m_pathName != path)
        return;
    if (IsModified() != modified) {
        QTimer::singleShot(0, this, &CVantrelDoc::checkFileOnDisk);
        return;
    }
    if (answer == mb::IDYES)
        OpenWithMessages(path);
    else
        m_declined = FileIdentity::of(path);  // also covers a change made while the question was up
}

void CVantrelDoc::OpenRecovered(const QString& path, const QString& text, const FileIdentity& identity)
{
    m_readOnly = false;
    m_text.loadScript(text, false);
    m_journal->discard();
    setPathName(path);
    setFileIdentity(identity);
    SetModifiedFlag(true);
}

void CVantrelDoc::keepForRecovery() { m_journal->writeNow(); }

void CVantrelDoc::discardRecovery() { m_journal->discard(); }
