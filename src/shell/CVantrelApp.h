// The application: start-up, the file commands of the application, the
// recent-file list, About, and handing scripts opened from the desktop to
// the instance that already runs.
#pragma once

#include "platform/FileIdentity.h"
#include "shell/CommandLine.h"
#include "shell/RecentFiles.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

class CMainFrame;
class QLocalServer;
class QLocalSocket;

class CVantrelApp : public QObject {
    Q_OBJECT
public:
    explicit CVantrelApp(const CommandLine& cl);
    ~CVantrelApp() override;

    // False: the program ends (a script that could not be opened, or one
    // handed to the instance that already runs: see handedOver()).
    bool InitInstance();
    bool handedOver() const { return m_handedOver; }

    CMainFrame* mainFrame() const { return m_frame.get(); }
    RecentFiles& recentFiles() { return m_recent; }

    void OnFileNew();
    void OnFileOpen();
    void OnAppAbout();
    void OnOpenRecentFile(int index);
    // Opens path as the document: in place of the active script after the
    // save question, or in a tab of its own when the user chose tabs. A
    // script already open is brought forward instead.
    bool OpenDocumentFile(const QString& path);
    // Opens path in a tab of its own whatever the tabs switch says (for a
    // script handed over or recovered beside the open ones).
    bool OpenDocumentInNewTab(const QString& path);
    void OnFrameClosing();

    // The name under which the running instance listens, per user and store.
    static QString instanceName();

    // Shows a copy of unsaved work that the user chose to recover; false
    // when it cannot be shown now (it then stays for the next start). The
    // one document takes one copy, in place of a script with no changes.
    bool openRecoveredScript(const QString& path, const QString& text, const FileIdentity& identity);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectFrame();
    void offerRecoveredWork();
    void tellWhenCopiesFail();
    void OnTerminationSignal();
    bool handToRunningInstance(const QString& path);
    void listenForOtherInstances();
    void takeHandOver(QLocalSocket* socket);
    void openHandedOver();
    void updateRecentMenu();

    CommandLine m_cl;
    RecentFiles m_recent;
    std::unique_ptr<CMainFrame> m_frame;
    QLocalServer* m_server = nullptr;
    bool m_handedOver = false;
    bool m_copyFailureTold = false;
    // Scripts handed over by second starts, opened one at a time from the event loop.
    QStringList m_handedOverPaths;
    QTimer m_handOverTimer;
};
