#include "shell/CVantrelDoc.h"

#include "editor/ScriptText.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialogs.h"
#include "platform/LongLines.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

using longlines::kLongestEditableLine;
using longlines::longestLine;

CVantrelDoc::CVantrelDoc(ScriptText& text, QWidget* dialogParent, QObject* parent)
    : QObject(parent), m_text(text), m_dialogParent(dialogParent)
{
    connect(m_text.scriptDocument(), &QTextDocument::modificationChanged, this, &CVantrelDoc::titleChanged);
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
    emit titleChanged();
}

bool CVantrelDoc::OnNewDocument()
{
    m_readOnly = false;
    m_text.loadScript(QString(), false);
    setPathName(QString());
    return true;
}

bool CVantrelDoc::OnOpenDocument(const QString& path, QString* error)
{
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
    setPathName(path);
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
