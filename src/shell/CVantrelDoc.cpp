#include "shell/CVantrelDoc.h"

#include "editor/CVantrelView.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

CVantrelDoc::CVantrelDoc(CVantrelView* view, QObject* parent) : QObject(parent), m_view(view)
{
    m_view->SetDocument(this);
    connect(m_view->document(), &QTextDocument::modificationChanged, this, &CVantrelDoc::titleChanged);
}

QString CVantrelDoc::GetTitle() const
{
    return m_pathName.isEmpty() ? QString(str::kUntitled) : QFileInfo(m_pathName).fileName();
}

bool CVantrelDoc::IsModified() const { return m_view->document()->isModified(); }

void CVantrelDoc::SetModifiedFlag(bool modified) { m_view->document()->setModified(modified); }

QWidget* CVantrelDoc::dialogParent() const { return m_view->window(); }

void CVantrelDoc::setPathName(const QString& path)
{
    m_pathName = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    emit titleChanged();
}

bool CVantrelDoc::OnNewDocument()
{
    m_view->setPlainText(QString());
    m_view->document()->clearUndoRedoStacks();
    SetModifiedFlag(false);
    setPathName(QString());
    m_view->OnInitialUpdate();
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
    m_view->setPlainText(read.text);
    m_view->document()->clearUndoRedoStacks();
    SetModifiedFlag(false);
    setPathName(path);
    m_view->OnInitialUpdate();
    emit documentPathUsed(m_pathName);
    return true;
}

bool CVantrelDoc::OnSaveDocument(const QString& path, QString* error)
{
    const QString text = m_view->rawText();
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
    const int answer = mb::show(dialogParent(), QString(str::kSaveChangesQuestion).arg(GetTitle()), str::kAppName,
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
    QString target = path;
    if (target.isEmpty()) {
        const QString filter = QString(str::kDocFilterName) + QLatin1String(";;") + str::kAllFilesFilter;
        const QString proposed = m_pathName.isEmpty() ? GetTitle() + str::kDocFilterExt : m_pathName;
        target = filedlg::getSaveFileName(dialogParent(), proposed, filter, QString(str::kDocFilterExt).mid(1));
        if (target.isEmpty())
            return false;
    }
    QString error;
    if (!OnSaveDocument(target, &error)) {
        mb::show(dialogParent(), error, str::kAppName, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CVantrelDoc::OpenWithMessages(const QString& path)
{
    QString error;
    if (OnOpenDocument(path, &error))
        return true;
    mb::show(dialogParent(), QString(str::kOpenFailed).arg(QDir::toNativeSeparators(path), error), str::kAppName,
             mb::MB_OK | mb::MB_ICONEXCLAMATION);
    return false;
}
