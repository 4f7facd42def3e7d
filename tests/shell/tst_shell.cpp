// The program as it starts and runs: start-up and the command line's script,
// the recent files, closing, scripts handed over from the desktop, the
// commands' keys, toolbar and status bar, the splash, the About box, the
// help page and the pictures.
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "launch/DebugPanel.h"
#include "platform/FileDialogs.h"
#include "platform/ProfileStore.h"
#include "resources/commands.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "shell/CMainFrame.h"
#include "shell/CSplashWnd.h"
#include "shell/CVantrelApp.h"
#include "shell/CVantrelDoc.h"
#include "shell/DesktopIntegration.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLocalSocket>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace ids;

class TestShell : public QObject {
    Q_OBJECT
    TestEnv env;
    QTemporaryDir dir;
    BoxRecorder rec{mb::IDNO};
    std::unique_ptr<CVantrelApp> app;
    CMainFrame* frame = nullptr;

    QString script(const QString& name) { return writeFile(dir.filePath(name), "END\r\n"); }
    void start(QStringList args = {QStringLiteral("-Embedding")})
    {
        app = std::make_unique<CVantrelApp>(CommandLine::parse(args));
        QVERIFY(app->InitInstance());
        frame = app->mainFrame();
        QVERIFY(QTest::qWaitForWindowActive(frame));
    }

private slots:
    void init()
    {
        rec.boxes.clear();
        rec.answer = mb::IDNO;
        env.resetSettings();
    }
    void cleanup()
    {
        if (frame) {
            frame->document()->SetModifiedFlag(false);
            frame->close();
        }
        app.reset();
        frame = nullptr;
        filedlg::setAnswerer({});
    }

    void startsWithTheNamedScriptAndRemembersIt()
    {
        const QString p = script(QStringLiteral("start.iws"));
        start({p, QStringLiteral("-Embedding")});
        QCOMPARE(frame->windowTitle(), QStringLiteral("start.iws - Vantrel"));
        QCOMPARE(frame->view()->colourAt(0), ColourRef(0x00FF8000));
        QCOMPARE(frame->action(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 ") + p);
        frame->close();
        QCOMPARE(ProfileStore::app().getString(QStringLiteral("Recent File List"), QStringLiteral("File1")), p);
    }

    void recentFilesKeepFourNewestFirst()
    {
        start();
        QStringList opened;
        for (int i = 0; i < 5; ++i) {
            opened.prepend(script(QStringLiteral("r%1.iws").arg(i)));
            QVERIFY(app->OpenDocumentFile(opened.first()));
        }
        QCOMPARE(app->recentFiles().paths(), opened.mid(0, 4));
        // Reopening an entry moves it to the top; a vanished file leaves the list.
        QFile::remove(opened[2]);
        frame->action(ID_FILE_MRU_FILE1 + 2)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(app->recentFiles().paths().size(), 3);
        frame->action(ID_FILE_MRU_FILE1 + 2)->trigger();
        QCOMPARE(frame->document()->GetPathName(), opened[3]);
        QCOMPARE(ProfileStore::app().getString(QStringLiteral("Recent File List"), QStringLiteral("File1")), opened[3]);
    }

    void openDropAndExitAskToSaveFirst()
    {
        start();
        const QString next = script(QStringLiteral("next.iws"));
        filedlg::setAnswerer([&](const filedlg::Request& r) { return r.save ? QString() : next; });
        QTest::keyClicks(frame->view(), QStringLiteral("edited"));
        rec.answer = mb::IDCANCEL;
        frame->action(ID_FILE_OPEN)->trigger();
        QVERIFY(frame->document()->GetPathName().isEmpty());
        rec.answer = mb::IDNO;
        frame->action(ID_FILE_OPEN)->trigger();
        QCOMPARE(frame->document()->GetPathName(), next);

        // A file dropped on the editor is opened, not pasted as text.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(script(QStringLiteral("dropped.iws")))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->view()->viewport(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->view()->viewport(), &drop);
        QTRY_COMPARE(frame->document()->GetTitle(), QStringLiteral("dropped.iws"));
        QCOMPARE(frame->view()->rawText(), QStringLiteral("END\n"));

        QTest::keyClicks(frame->view(), QStringLiteral("more"));
        rec.answer = mb::IDCANCEL;
        frame->action(ID_APP_EXIT)->trigger();
        QVERIFY(frame->isVisible());
        rec.answer = mb::IDNO;
        frame->action(ID_APP_EXIT)->trigger();
        QVERIFY(!frame->isVisible());
    }

    // Closing the window with the snippet library shown leaves no window up;
    // a script handed over after that starts an editor of its own.
    void closingEndsEverything()
    {
        start();
        frame->action(ID_CODE_SNIPPET_LIBRARY)->trigger();
        QTRY_VERIFY(QApplication::activeWindow() != frame);
        frame->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QLocalSocket socket;
        socket.connectToServer(CVantrelApp::instanceName());
        QVERIFY(!socket.waitForConnected(200));
    }

    void aScriptOpenedFromTheDesktopGoesToTheRunningEditor()
    {
        start();
        const QString p = script(QStringLiteral("from desktop.iws"));
        QProcess second;
        second.start(QStringLiteral(VANTREL_BINARY_DIR "/src/vantrel"), {p});
        QTRY_COMPARE_WITH_TIMEOUT(frame->document()->GetPathName(), p, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
    }

    // A script that cannot be opened ends start-up in a message with no
    // splash over it.
    void aScriptThatCannotBeOpenedEndsStartUp_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QStringLiteral("absent.iws") << QString();
        QTest::newRow("a FIFO") << QStringLiteral("pipe.iws") << QStringLiteral("not a regular file");
    }
    void aScriptThatCannotBeOpenedEndsStartUp()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        if (!reason.isEmpty())
            QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600), 0);
        bool splashUp = true;
        rec.onShow = [&] { splashUp = CSplashWnd::isShown(); };
        CSplashWnd::EnableSplash(true);
        CVantrelApp failing(CommandLine::parse({dir.filePath(name)}));
        QVERIFY(!failing.InitInstance());
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(rec.boxes[0].text.contains(name) && rec.boxes[0].text.contains(reason));
        QVERIFY(!splashUp);
        rec.onShow = {};
        ::unlink(QFile::encodeName(dir.filePath(name)).constData());
    }

    // File > Export as HTML writes the coloured page, never onto the script.
    void exportAsHtml()
    {
        const QString p = script(QStringLiteral("page.iws"));
        start({p, QStringLiteral("-Embedding")});
        QString target = dir.filePath(QStringLiteral("page.html"));
        filedlg::setAnswerer([&](const filedlg::Request&) { return target; });
        frame->action(ID_FILE_EXPORT_HTML)->trigger();
        QVERIFY(readFile(target).contains("<span style=\"color:#0080ff\">END</span>"));
        target = p;
        frame->action(ID_FILE_EXPORT_HTML)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(readFile(p), QByteArray("END\r\n"));
    }

    // The editor's switches are checked commands, kept from one run to the next.
    void editorSwitchesAreRemembered()
    {
        start();
        QVERIFY(frame->action(ID_VIEW_LINE_NUMBERS)->isChecked());
        QVERIFY(frame->view()->lineNumbersVisible());
        frame->action(ID_VIEW_LINE_NUMBERS)->trigger();
        frame->action(ID_VIEW_DEBUG_OUTPUT)->trigger();
        QVERIFY(!frame->view()->lineNumbersVisible());
        QVERIFY(frame->findChild<DebugPanel*>()->isVisible());
        frame->close();
        app.reset();
        start();
        QVERIFY(!frame->action(ID_VIEW_LINE_NUMBERS)->isChecked());
        QVERIFY(!frame->view()->lineNumbersVisible());
        QVERIFY(frame->action(ID_VIEW_DEBUG_OUTPUT)->isChecked() && frame->findChild<DebugPanel*>()->isVisible());
        QVERIFY(frame->action(ID_OPTIONS_AUTO_INDENT)->isChecked() && frame->view()->autoIndent());
        QVERIFY(frame->view()->colourAsYouType());
    }

    // Each key of the accelerator table reaches its command from the editor,
    // the commands of Edit included (the editor must not take them itself).
    void everyKeyReachesItsCommand()
    {
        start();
        filedlg::setAnswerer([](const filedlg::Request&) { return QString(); });
        QTimer closer;  // closes whatever dialog a command opens
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        closer.start(20);
        for (const res::Accelerator& acc : res::mainAccelerators()) {
            QAction* action = frame->action(acc.id);
            QVERIFY(action);
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w != frame)
                    w->hide();  // the modeless dialogs that commands leave open
            }
            frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame));
            frame->view()->setPlainText(QStringLiteral("some text"));
            frame->view()->selectAll();
            QTest::keyClicks(frame->view(), QStringLiteral("x"));
            frame->view()->selectAll();
            QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
            QSignalSpy spy(action, &QAction::triggered);
            const int expected = action->isEnabled() ? 1 : 0;
            QTest::keySequence(frame->view(), QKeySequence(acc.key));
            QVERIFY2(spy.count() == expected, qPrintable(QKeySequence(acc.key).toString()));
        }
    }

    void toolbarStatusBarAndAbout()
    {
        start();
        QToolBar* bar = frame->findChild<QToolBar*>();
        int withIcons = 0;
        for (QAction* a : bar->actions())
            withIcons += !a->isSeparator() && !a->icon().isNull();
        QCOMPARE(withIcons, 12);
        frame->action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!bar->isVisible() && !frame->action(ID_VIEW_TOOLBAR)->isChecked());
        frame->action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!frame->statusBar()->isVisible());
        frame->action(ID_VIEW_TOOLBAR)->trigger();
        frame->action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(bar->isVisible() && frame->statusBar()->isVisible());
        QCOMPARE(frame->findChild<QLabel*>(QStringLiteral("pane_0"))->text(), QStringLiteral("Ready"));

        for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
            QString shown;
            whenModal([&](QWidget* w) {
                shown = w ? QString::fromLatin1(w->metaObject()->className()) : QString();
                QTest::keyClick(w, Qt::Key(key));
            });
            qobject_cast<QToolButton*>(bar->widgetForAction(frame->action(ID_APP_ABOUT)))->click();
            QCOMPARE(shown, QStringLiteral("CAboutDlg"));
            QVERIFY(!QApplication::activeModalWidget());
        }
    }

    // The splash stands over the starting editor, centred; the first press
    // only takes it away; the next reaches the script.
    void splashShowsCentredAndGoesAtTheFirstPress()
    {
        start({});
        CSplashWnd* splash = CSplashWnd::splashWindow();
        QVERIFY(splash && splash->isVisible());
        QCOMPARE(splash->size(), QSize(450, 150));
        const QPoint offset = splash->geometry().center() - frame->screen()->availableGeometry().center();
        QVERIFY(offset.manhattanLength() <= 2);
        QTest::keyClick(frame->view(), Qt::Key_A);
        QVERIFY(!CSplashWnd::isShown());
        QTest::keyClick(frame->view(), Qt::Key_B);
        QCOMPARE(frame->view()->rawText(), QStringLiteral("b"));
        CSplashWnd::EnableSplash(false);
    }

    void splashGoesAfterItsTime()
    {
        start({});
        QVERIFY(CSplashWnd::isShown());
        QTest::qWait(CSplashWnd::kTimeoutMs - 300);
        QVERIFY(CSplashWnd::isShown());
        QTRY_VERIFY_WITH_TIMEOUT(!CSplashWnd::isShown(), 1000);
        CSplashWnd::EnableSplash(false);
    }

    void desktopFileTypeIsWrittenOnlyWhenItDiffers()
    {
        const QString exe = QStringLiteral("/opt/my apps/vantrel");
        const QString base = env.dataHome();
        QDir(base).removeRecursively();
        QCOMPARE(DesktopIntegration::registerFileType(exe), 4);
        const QString entry = QString::fromUtf8(readFile(base + QStringLiteral("/applications/vantrel.desktop")));
        QVERIFY(entry.contains(QLatin1String("Exec=\"/opt/my apps/vantrel\" %f")));
        QCOMPARE(DesktopIntegration::registerFileType(exe), 0);
        QCOMPARE(DesktopIntegration::registerFileType(QStringLiteral("/usr/bin/vantrel")), 1);
        qputenv("XDG_DATA_HOME", "/proc/vantrel-none");  // an unwritable folder is no error
        QCOMPARE(DesktopIntegration::registerFileType(exe), 0);
        qputenv("XDG_DATA_HOME", base.toLocal8Bit());
    }

    // Help that the desktop cannot show is told, with the page named.
    void helpThatCannotBeShownIsTold()
    {
        start();
        QTemporaryDir bin;
        const QString opener = writeFile(bin.filePath(QStringLiteral("xdg-open")), "#!/bin/sh\nexit 3\n");
        QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ":/usr/bin:/bin");
        frame->action(ID_APP_HELP)->trigger();
        QTRY_COMPARE(rec.boxes.size(), 1);
        qputenv("PATH", path);
        QCOMPARE(rec.boxes[0].text,
                 QString(str::kHelpOpenFailed).arg(QDir::toNativeSeparators(CMainFrame::helpPagePath())));
    }

    // The help page documents every menu command and every key shown.
    void helpPageNamesEveryMenuCommandAndKey()
    {
        const QString page =
            QString::fromUtf8(readFile(QStringLiteral(VANTREL_TEST_DATA "/../../resources/VantrelHelp.html")));
        QStringList missing;
        for (const res::MenuEntry& e : res::mainMenu()) {
            const res::CommandInfo* c = e.kind == res::MenuEntry::Item ? res::findCommand(e.id) : nullptr;
            QString text = c ? QString::fromLatin1(c->menuText) : QString::fromLatin1(e.text ? e.text : "");
            for (const QString& part : text.remove(QLatin1Char('&')).split(QLatin1Char('\t'), Qt::SkipEmptyParts)) {
                if (!page.contains(part.toHtmlEscaped()))
                    missing << part;
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    // The two toolbar strips are one drawing: the background pixels agree, so
    // neither picture has a hole the other lacks. Splash and About differ.
    void picturesAgree()
    {
        const auto bitmap = [](int id) {
            return QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(id)).convertToFormat(QImage::Format_RGB32);
        };
        const QImage strip16 = bitmap(IDB_TOOLBAR_16);
        const QImage strip24 = bitmap(IDB_TOOLBAR_24);
        QCOMPARE(strip16.size(), strip24.size());
        const auto isFace = [](QRgb c) { return (c & 0xFFFFFF) == 0xC0C0C0; };
        for (int y = 0; y < strip16.height(); ++y) {
            for (int x = 0; x < strip16.width(); ++x)
                QVERIFY(isFace(strip16.pixel(x, y)) == isFace(strip24.pixel(x, y)));
        }
        QVERIFY(bitmap(IDB_SPLASH) != bitmap(IDB_ABOUT));
        for (const char* icon : {":/icons/128.png", ":/icons/129.png"})
            QCOMPARE(QImage(QLatin1String(icon)).size(), QSize(48, 48));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
