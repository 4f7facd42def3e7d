#include "shell/CVantrelApp.h"

#include "editor/CVantrelView.h"
#include "platform/Answerer.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/RecoveryJournal.h"
#include "platform/TerminationSignals.h"
#include "platform/TextCodec.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "shell/CAboutDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CSplashWnd.h"
#include "shell/CVantrelDoc.h"
#include "shell/DesktopIntegration.h"
#include "shell/DocumentSet.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLocale>
#include <QPointer>

CVantrelApp::CVantrelApp(const CommandLine& cl) : m_cl(cl), m_recent(ProfileStore::app()) {}

CVantrelApp::~CVantrelApp()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

QString CVantrelApp::instanceName()
{
    const QByteArray key =
        QCryptographicHash::hash(ProfileStore::standardFilePath().toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("vantrel-") + QString::fromLatin1(key.toHex().left(16));
}

bool CVantrelApp::InitInstance()
{
    CSplashWnd::EnableSplash(m_cl.showSplash);

    // A script opened from the desktop while the editor runs goes to that editor.
    if (!m_cl.file.isEmpty() && handToRunningInstance(m_cl.file)) {
        m_handedOver = true;
        return false;
    }

    ProfileStore::app();
    ProfileStore::keepQtSettingsOut();
    m_recent.load();
    DesktopIntegration::registerFileType(QCoreApplication::applicationFilePath());

    // Every event is offered to the splash screen first.
    qApp->installEventFilter(this);

    // A script that cannot be opened ends the start-up in a message, with no
    // splash standing over it.
    QString error = m_cl.file.isEmpty() ? QString() : textcodec::readScriptFile(m_cl.file).error;
    if (error.isEmpty()) {
        m_frame = std::make_unique<CMainFrame>();
        connectFrame();
        updateRecentMenu();
        if (m_cl.file.isEmpty())
            m_frame->document()->OnNewDocument();
        else
            m_frame->document()->OnOpenDocument(m_cl.file, &error);
    }
    if (!error.isEmpty()) {
        CSplashWnd::EnableSplash(false);
        if (CSplashWnd* splash = CSplashWnd::splashWindow())
            splash->HideSplash();
        mb::show(nullptr, QString(str::kCommandLineOpenFailed).arg(QDir::toNativeSeparators(m_cl.file), error),
                 str::kAppName, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return false;
    }

    m_frame->show();
    m_frame->view()->setFocus();
    // A logout or a kill asks no question: the unsaved text is kept instead.
    connect(new TerminationSignals(this), &TerminationSignals::received, this, &CVantrelApp::OnTerminationSignal);
    tellWhenCopiesFail();
    offerRecoveredWork();
    listenForOtherInstances();
    return true;
}

void CVantrelApp::tellWhenCopiesFail()
{
    // Once a run: the copies fail for the same reason until it is mended,
    // and every few seconds of typing would ask for one.
    RecoveryJournal::forThisProcess().setFailureReporter(
        [self = QPointer<CVantrelApp>(this)](const QString& folder, const QString& reason) {
            if (!self || self->m_copyFailureTold || !self->m_frame)
                return;
            self->m_copyFailureTold = true;
            mb::show(self->m_frame.get(), QString(str::kRecoveryNotKept).arg(QDir::toNativeSeparators(folder), reason),
                     str::kCaptionError, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        });
}

void CVantrelApp::offerRecoveredWork()
{
    RecoveryJournal::Leftovers left(RecoveryJournal::standardFolder());
    if (left.copies().isEmpty())
        return;
    CSplashWnd::EnableSplash(false);
    if (CSplashWnd* splash = CSplashWnd::splashWindow())
        splash->HideSplash();
    for (const RecoveryJournal::Copy& copy : left.copies()) {
        const QString name = copy.path.isEmpty() ? QString(str::kUntitled) : QFileInfo(copy.path).fileName();
        const QString when = QLocale().toString(copy.time.toLocalTime(), QLocale::ShortFormat);
        const int answer = mb::show(m_frame.get(), QString(str::kRecoverQuestion).arg(name, when), str::kAppName,
                                    mb::MB_YESNO | mb::MB_ICONEXCLAMATION);
        // The program was told to end while the question was up: the copies stay.
        if (RecoveryJournal::forThisProcess().isFrozen())
            return;
        if (answer != mb::IDYES) {
            left.discard(copy);
            continue;
        }
        const QString text = RecoveryJournal::Leftovers::text(copy);
        if (!text.isNull() && openRecoveredScript(copy.path, text, copy.identity))
            left.discard(copy);  // the document keeps a copy of its own from now on
    }
}

bool CVantrelApp::openRecoveredScript(const QString& path, const QString& text, const FileIdentity& identity)
{
    CVantrelDoc* doc = m_frame->document();
    if (doc->IsModified())
        return false;
    doc->OpenRecovered(path, text, identity);
    return true;
}

void CVantrelApp::OnTerminationSignal()
{
    RecoveryJournal& journal = RecoveryJournal::forThisProcess();
    if (journal.isFrozen() || !m_frame)
        return;
    // Every open script: the one shown is not the only one with changes.
    for (int i = 0; i < m_frame->scripts()->count(); ++i)
        m_frame->scripts()->document(i)->keepForRecovery();
    journal.freeze();
    m_recent.save();
    // Every event loop ends, also that of a question that is up: it answers
    // as Escape would, and nothing it leads to can remove the copies now.
    QCoreApplication::exit(0);
}

void CVantrelApp::connectFrame()
{
    CMainFrame* frame = m_frame.get();
    connect(frame->action(ids::ID_FILE_NEW), &QAction::triggered, this, &CVantrelApp::OnFileNew);
    connect(frame->action(ids::ID_FILE_OPEN), &QAction::triggered, this, &CVantrelApp::OnFileOpen);
    connect(frame->action(ids::ID_APP_ABOUT), &QAction::triggered, this, &CVantrelApp::OnAppAbout);
    connect(frame, &CMainFrame::recentFileChosen, this, &CVantrelApp::OnOpenRecentFile);
    connect(frame, &CMainFrame::fileDropped, this, &CVantrelApp::OpenDocumentFile);
    connect(frame, &CMainFrame::closing, this, &CVantrelApp::OnFrameClosing);
    connect(frame->scripts(), &DocumentSet::documentPathUsed, this, [this](const QString& path) {
        m_recent.add(path);
        updateRecentMenu();
    });
}

bool CVantrelApp::eventFilter(QObject* watched, QEvent* event)
{
    if (CSplashWnd::FilterAppMessage(watched, event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool CVantrelApp::handToRunningInstance(const QString& path)
{
    QLocalSocket socket;
    socket.connectToServer(instanceName());
    if (!socket.waitForConnected(2000))
        return false;  // no editor runs
    socket.write(QFileInfo(path).absoluteFilePath().toUtf8() + '\n');
    // An editor that took the connection takes the script, however long it is
    // busy (a question open, a game being started); only an editor that ends
    // without answering leaves it to this one.
    while (!socket.canReadLine()) {
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        socket.waitForReadyRead(1000);
    }
    const bool ok = socket.readLine().startsWith("ok");
    socket.disconnectFromServer();
    return ok;
}

void CVantrelApp::listenForOtherInstances()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(instanceName())) {
        // A socket left by an editor that did not end cleanly.
        QLocalServer::removeServer(instanceName());
        if (!m_server->listen(instanceName()))
            return;
    }
    m_handOverTimer.setSingleShot(true);
    connect(&m_handOverTimer, &QTimer::timeout, this, &CVantrelApp::openHandedOver);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { takeHandOver(socket); });
        }
    });
}

void CVantrelApp::takeHandOver(QLocalSocket* socket)
{
    bool any = false;
    while (socket->canReadLine()) {
        const QString path = QString::fromUtf8(socket->readLine()).trimmed();
        if (!path.isEmpty())
            m_handedOverPaths.append(path);
        any = true;
    }
    if (!any)
        return;
    socket->write("ok\n");
    socket->flush();
    // Opened from the event loop, never from here: the save question runs a
    // loop of its own, in which this socket may be gone.
    if (!m_handOverTimer.isActive())
        m_handOverTimer.start(0);
}

void CVantrelApp::openHandedOver()
{
    if (m_handedOverPaths.isEmpty() || !m_frame)
        return;
    if (questions::anyOpen() || QApplication::activeModalWidget()) {
        // A question is open: the script waits its turn behind it.
        m_handOverTimer.start(100);
        return;
    }
    const QString path = m_handedOverPaths.takeFirst();
    // To the front as it is: a maximised window stays maximised.
    if (m_frame->isMinimized())
        m_frame->setWindowState(m_frame->windowState() & ~Qt::WindowMinimized);
    m_frame->show();
    m_frame->raise();
    m_frame->activateWindow();
    OpenDocumentFile(path);
    if (!m_handedOverPaths.isEmpty())
        m_handOverTimer.start(0);
}

void CVantrelApp::updateRecentMenu()
{
    if (m_frame)
        m_frame->SetRecentFiles(m_recent.paths());
}

void CVantrelApp::OnFileNew()
{
    if (m_frame->openInTabs()) {
        m_frame->newTab();
        return;
    }
    CVantrelDoc* doc = m_frame->document();
    if (doc->SaveModified())
        doc->OnNewDocument();
}

void CVantrelApp::OnFileOpen()
{
    CVantrelDoc* doc = m_frame->document();
    const QString start = doc->GetPathName().isEmpty() ? QString() : QFileInfo(doc->GetPathName()).absolutePath();
    const QString path = filedlg::getOpenFileName(m_frame.get(), start, CMainFrame::openFileFilter());
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CVantrelApp::OpenDocumentFile(const QString& path)
{
    if (m_frame->bringForward(path))
        return true;
    if (m_frame->openInTabs())
        return m_frame->openInNewTab(path);
    CVantrelDoc* doc = m_frame->document();
    return doc->SaveModified() && doc->OpenWithMessages(path);
}

bool CVantrelApp::OpenDocumentInNewTab(const QString& path) { return m_frame->openInNewTab(path); }

void CVantrelApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recent.paths().size())
        return;
    const QString path = m_recent.paths()[index];
    if (m_frame->bringForward(path))
        return;
    bool opened = false;
    if (m_frame->openInTabs()) {
        opened = m_frame->openInNewTab(path);
    } else {
        if (!m_frame->document()->SaveModified())
            return;
        opened = m_frame->document()->OpenWithMessages(path);
    }
    if (!opened) {
        // A file that is gone leaves the list.
        m_recent.remove(path);
        updateRecentMenu();
    }
}

void CVantrelApp::OnAppAbout()
{
    CAboutDlg dlg(m_frame.get());
    dlg.DoModal();
}

void CVantrelApp::OnFrameClosing()
{
    // The recent list is not written here: each change was stored as it was
    // made, and this editor's list may be older than the file's by now.
    // Scripts handed over from now on start an editor of their own.
    if (m_server) {
        m_server->close();
        m_server->deleteLater();
        m_server = nullptr;
    }
}
