// The program as it starts and runs: start-up and the command line's script,
// the recent files, closing, scripts handed over from the desktop, changes
// made on disk by other programs, unsaved work that outlives the editor, the
// commands' keys, toolbar and status bar, the splash, the About box, the
// help page and the pictures.
#include "common/FileSizeLimit.h"
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "editor/UsesPanel.h"
#include "launch/DebugPanel.h"
#include "launch/LaunchSettings.h"
#include "platform/FileDialogs.h"
#include "platform/ProfileStore.h"
#include "platform/RecoveryJournal.h"
#include "resources/commands.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "shell/CMainFrame.h"
#include "shell/CSplashWnd.h"
#include "shell/CVantrelApp.h"
#include "shell/CVantrelDoc.h"
#include "shell/DesktopIntegration.h"
#include "shell/DocumentSet.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QLocalSocket>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

#include <csignal>
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
    DocumentSet* scripts() const { return frame->scripts(); }
    QStringList tabTexts() const
    {
        QStringList texts;
        for (int i = 0; i < scripts()->count(); ++i)
            texts << scripts()->tabs()->tabText(i);
        return texts;
    }
    void key(const QKeySequence& keys) { QTest::keySequence(QApplication::focusWidget(), keys); }
    // The game, chosen in Launch Options, is a program that records its arguments.
    QString chooseRecordingGame()
    {
        const QString record = dir.filePath(QStringLiteral("game.args"));
        QFile::setPermissions(
            writeFile(dir.filePath(QStringLiteral("game")),
                      "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(record) + ".part' && mv '" +
                          QFile::encodeName(record) + ".part' '" + QFile::encodeName(record) + "'\n"),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        launch::LaunchSettings settings = launch::LaunchSettings::launchDefaults();
        settings.g_game = 0;
        settings.f_iwar = dir.path() + QLatin1Char('/');
        settings.c_iwar_exe = QStringLiteral("game");
        settings.l_pathcheck = 0;
        settings.write(ProfileStore::app());
        return record;
    }
    static QStringList copies()
    {
        RecoveryJournal::forThisProcess().flush();
        return QDir(RecoveryJournal::standardFolder()).entryList({QStringLiteral("*.journal")}, QDir::Files);
    }
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
            for (int i = 0; i < frame->scripts()->count(); ++i)
                frame->scripts()->document(i)->SetModifiedFlag(false);
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

    // Another editor's recent files stay: each change merges with the list
    // as stored, and closing writes no list of its own.
    void recentListOfAnotherEditorSurvives()
    {
        start();
        ProfileStore theirs(env.settingsFile());
        RecentFiles other(theirs);
        const QString a = script(QStringLiteral("a.iws"));
        const QString b = script(QStringLiteral("b.iws"));
        const QString c = script(QStringLiteral("c.iws"));
        QVERIFY(other.add(b));
        QVERIFY(app->OpenDocumentFile(a));
        QVERIFY(other.add(c));
        QVERIFY(frame->close());
        other.load();
        QCOMPARE(other.paths(), (QStringList{c, a, b}));
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

    // Each script keeps its own text, undo history and modified flag; the
    // edit states, caption and keys follow the tab shown.
    void scriptsInTabsKeepTheirOwnState()
    {
        const QString a = script(QStringLiteral("a.iws"));
        const QString b = script(QStringLiteral("b.iws"));
        start({a, QStringLiteral("-Embedding")});
        QVERIFY(!scripts()->tabs()->tabBar()->isVisible());
        filedlg::setAnswerer([&](const filedlg::Request&) { return b; });
        key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        QCOMPARE(tabTexts(), QStringList({"a.iws", "b.iws"}));
        QVERIFY(scripts()->tabs()->tabBar()->isVisible());
        QVERIFY(rec.boxes.isEmpty());

        QTest::keyClicks(frame->view(), QStringLiteral("bb"));
        QCOMPARE(frame->windowTitle(), QStringLiteral("b.iws* - Vantrel"));
        QCOMPARE(tabTexts(), QStringList({"a.iws", "b.iws*"}));
        key(QKeySequence(Qt::CTRL | Qt::Key_Tab));
        QCOMPARE(frame->document()->GetPathName(), a);
        QCOMPARE(frame->windowTitle(), QStringLiteral("a.iws - Vantrel"));
        QVERIFY(!frame->action(ID_EDIT_UNDO)->isEnabled());
        QTest::keyClicks(frame->view(), QStringLiteral("aa"));
        key(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(frame->view()->rawText(), QStringLiteral("END\n"));
        QVERIFY(!frame->document()->IsModified() && frame->action(ID_EDIT_REDO)->isEnabled());
        key(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
        QCOMPARE(frame->view()->rawText(), QStringLiteral("bbEND\n"));
        QVERIFY(frame->document()->IsModified());
        QVERIFY(frame->action(ID_EDIT_UNDO)->isEnabled() && !frame->action(ID_EDIT_REDO)->isEnabled());
        QCOMPARE(QApplication::focusWidget(), frame->view());

        // A file already open comes forward rather than twice.
        key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab));
        QVERIFY(app->OpenDocumentFile(b));
        QCOMPARE(frame->document()->GetPathName(), b);
        // Save All writes every modified script.
        key(QKeySequence(Qt::CTRL | Qt::Key_Tab));
        QTest::keyClicks(frame->view(), QStringLiteral("a"));
        key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QCOMPARE(readFile(a) + readFile(b), QByteArray("aEND\r\nbbEND\r\n"));
        QCOMPARE(tabTexts(), QStringList({"a.iws", "b.iws"}));
        // Close asks about a modified script; a middle click closes a tab too;
        // closing the last leaves an Untitled one.
        QTest::keyClicks(frame->view(), QStringLiteral("x"));
        rec.answer = mb::IDCANCEL;
        key(QKeySequence(Qt::CTRL | Qt::Key_W));
        QCOMPARE(scripts()->count(), 2);
        rec.answer = mb::IDNO;
        key(QKeySequence(Qt::CTRL | Qt::Key_W));
        QCOMPARE(tabTexts(), QStringList({"b.iws"}));
        QCOMPARE(rec.boxes.size(), 2);
        QCOMPARE(rec.boxes[0].text, QStringLiteral("Save changes to a.iws?"));
        QVERIFY(!scripts()->tabs()->tabBar()->isVisible());
        QVERIFY(frame->openInNewTab(a));
        QTabBar* bar = scripts()->tabs()->tabBar();
        QTest::mouseClick(bar, Qt::MiddleButton, Qt::NoModifier, bar->tabRect(0).center());
        QCOMPARE(tabTexts(), QStringList({"a.iws"}));
        frame->action(ID_FILE_CLOSE)->trigger();
        QCOMPARE(tabTexts(), QStringList({"Untitled"}));
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled - Vantrel"));
    }

    // Exit asks about each modified script in turn; Cancel keeps them all.
    void exitAsksAboutEachModifiedScript_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::newRow("cancel at the first") << QList<int>{mb::IDCANCEL};
        QTest::newRow("no, then cancel") << QList<int>{mb::IDNO, mb::IDCANCEL};
        QTest::newRow("yes, then no") << QList<int>{mb::IDYES, mb::IDNO};
    }
    void exitAsksAboutEachModifiedScript()
    {
        QFETCH(QList<int>, answers);
        const QString a = script(QStringLiteral("a.iws"));
        const QString b = script(QStringLiteral("b.iws"));
        start({a, QStringLiteral("-Embedding")});
        QVERIFY(frame->openInNewTab(b));
        for (int i : {0, 1}) {
            scripts()->setActive(i);
            QTest::keyClicks(frame->view(), QStringLiteral("x"));
        }
        rec.onShow = [&] { rec.answer = answers.value(rec.boxes.size(), mb::IDNO); };
        frame->action(ID_APP_EXIT)->trigger();
        rec.onShow = {};
        QCOMPARE(rec.boxes.size(), answers.size());
        QCOMPARE(rec.boxes[0].text, QStringLiteral("Save changes to a.iws?"));
        if (answers.size() > 1)
            QCOMPARE(rec.boxes[1].text, QStringLiteral("Save changes to b.iws?"));
        const bool cancelled = answers.last() == mb::IDCANCEL;
        QCOMPARE(frame->isVisible(), cancelled);
        if (cancelled)
            QCOMPARE(tabTexts(), QStringList({"a.iws*", "b.iws*"}));
        QCOMPARE(readFile(a), QByteArray(answers[0] == mb::IDYES ? "xEND\r\n" : "END\r\n"));
        QCOMPARE(readFile(b), QByteArray("END\r\n"));
    }

    // Off (the default), opening replaces the script after the save question;
    // on, each open takes a tab of its own, and the choice is remembered.
    void openScriptsInTabsSwitch()
    {
        start();
        QVERIFY(!frame->action(ID_OPTIONS_OPEN_IN_TABS)->isChecked());
        QTest::keyClicks(frame->view(), QStringLiteral("x"));
        QVERIFY(app->OpenDocumentFile(script(QStringLiteral("one.iws"))));
        QCOMPARE(tabTexts(), QStringList({"one.iws"}));
        QCOMPARE(rec.boxes.size(), 1);

        frame->action(ID_OPTIONS_OPEN_IN_TABS)->trigger();
        QVERIFY(app->OpenDocumentFile(script(QStringLiteral("two.iws"))));
        frame->action(ID_FILE_NEW)->trigger();
        frame->action(ID_FILE_NEW)->trigger();  // an untouched Untitled script is not doubled
        QCOMPARE(tabTexts(), QStringList({"one.iws", "two.iws", "Untitled"}));
        frame->action(ID_FILE_MRU_FILE1 + 1)->trigger();  // one.iws, already open
        QCOMPARE(frame->document()->GetTitle(), QStringLiteral("one.iws"));
        scripts()->setActive(2);
        QVERIFY(app->OpenDocumentFile(script(QStringLiteral("three.iws"))));  // takes the Untitled's place
        QCOMPARE(tabTexts(), QStringList({"one.iws", "two.iws", "three.iws"}));
        QCOMPARE(rec.boxes.size(), 1);
        frame->close();
        app.reset();
        start();
        QVERIFY(frame->action(ID_OPTIONS_OPEN_IN_TABS)->isChecked());
    }

    // An include is found beside the script in another case, in the game's
    // folder, by a wildcard with a choice, or named in a message.
    void includesOpenInATabOfTheirOwn_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("beside");  // files beside the script
        QTest::addColumn<QString>("inGame");  // files in the game's folder
        QTest::addColumn<QString>("opened");  // empty: a message
        QTest::newRow("another case") << "#INCLUDE ships.shp"
                                      << "Ships.SHP"
                                      << "ships.shp"
                                      << "Ships.SHP";
        QTest::newRow("game folder") << "#INCLUDE ships.shp"
                                     << ""
                                     << "SHIPS.shp"
                                     << "SHIPS.shp";
        QTest::newRow("wildcard, second chosen") << "#INCLUDE brief*.scr"
                                                 << "brief01.scr brief02.scr"
                                                 << ""
                                                 << "brief02.scr";
        QTest::newRow("not found") << "#INCLUDE ships.shp"
                                   << "ships.scr"
                                   << ""
                                   << "";
    }
    void includesOpenInATabOfTheirOwn()
    {
        QFETCH(QString, line);
        QFETCH(QString, beside);
        QFETCH(QString, inGame);
        QFETCH(QString, opened);
        const QString mission = dir.filePath(QTest::currentDataTag() + QStringLiteral("/mission/"));
        const QString game = dir.filePath(QTest::currentDataTag() + QStringLiteral("/game/"));
        for (const auto& [folder, names] : {std::pair(mission, beside), std::pair(game, inGame)}) {
            QDir().mkpath(folder);
            for (const QString& name : names.split(u' ', Qt::SkipEmptyParts))
                writeFile(folder + name, "END\r\n");
        }
        launch::LaunchSettings settings = launch::LaunchSettings::launchDefaults();
        settings.g_game = 0;
        settings.f_iwar = game;
        settings.write(ProfileStore::app());

        const QString main = writeFile(mission + QStringLiteral("main.iws"), ("WAIT 1\r\n" + line).toLatin1());
        start({main, QStringLiteral("-Embedding")});
        frame->view()->goToLine(2);
        const auto chooseSecond = [&] {
            if (line.contains(u'*')) {
                whenModal([](QWidget* w) {
                    QTest::keyClick(w->findChild<QListWidget*>(), Qt::Key_Down);
                    QTest::keyClick(w->findChild<QListWidget*>(), Qt::Key_Return);
                });
            }
        };
        chooseSecond();
        key(QKeySequence(Qt::CTRL | Qt::Key_I));
        if (opened.isEmpty()) {
            QCOMPARE(rec.boxes.size(), 1);
            QVERIFY(rec.boxes[0].text.contains(QLatin1String("ships.shp")));
            QVERIFY(rec.boxes[0].text.contains(QDir::cleanPath(mission)));
            QVERIFY(rec.boxes[0].text.contains(QDir::cleanPath(game)));
            QCOMPARE(scripts()->count(), 1);
            return;
        }
        QVERIFY(rec.boxes.isEmpty());
        QCOMPARE(tabTexts(), QStringList({"main.iws", opened}));
        QCOMPARE(frame->focusWidget(), frame->view());
        // Ctrl+click on the name brings the open file forward.
        scripts()->setActive(0);
        const QTextBlock block = frame->view()->document()->findBlockByNumber(1);
        QTextCursor onName(block);
        onName.setPosition(block.position() + 11);
        const QPoint at = frame->view()->cursorRect(onName).center();
        chooseSecond();
        QTest::mouseClick(frame->view()->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
        QTRY_COMPARE(frame->document()->GetTitle(), opened);
        QCOMPARE(scripts()->count(), 2);
    }

    // F12 launches the mission script from any tab, and not while another
    // open script holds unsaved changes.
    void f12LaunchesTheMissionScript()
    {
        const QString record = chooseRecordingGame();
        const QString main = script(QStringLiteral("main.iws"));
        start({main, QStringLiteral("-Embedding")});
        frame->action(ID_SET_MISSION_SCRIPT)->trigger();
        QVERIFY(frame->openInNewTab(script(QStringLiteral("ships.shp"))));
        QVERIFY(!frame->action(ID_SET_MISSION_SCRIPT)->isChecked());
        QVERIFY(!scripts()->tabs()->tabIcon(0).isNull() && scripts()->tabs()->tabIcon(1).isNull());

        QTest::keyClick(frame->view(), Qt::Key_X);
        key(QKeySequence(Qt::Key_F12));
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(rec.boxes[0].text.startsWith(QLatin1String("ships.shp has unsaved changes")));
        QVERIFY(!QTest::qWaitFor([&] { return QFile::exists(record); }, 300));

        key(QKeySequence(Qt::CTRL | Qt::Key_Z));
        key(QKeySequence(Qt::Key_F12));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
        QCOMPARE(QString::fromLocal8Bit(readFile(record)).trimmed().split(u'\n').last(), main);
        QCOMPARE(rec.boxes.size(), 1);
    }

    // A line of the error log leads to its script line: the mission script
    // when it names no file, the named file otherwise; F6 walks the panes.
    void errorLogLinesLeadToTheScript()
    {
        chooseRecordingGame();
        writeFile(dir.filePath(QStringLiteral("debug.txt")), "error in line 3\r\nBrief01.scr(2): no such label\r\n");
        writeFile(dir.filePath(QStringLiteral("brief01.scr")), "a\r\nb\r\nc\r\n");
        const QString main = writeFile(dir.filePath(QStringLiteral("main.iws")), "1\r\n2\r\n3\r\n4\r\n");
        start({main, QStringLiteral("-Embedding")});
        frame->action(ID_SET_MISSION_SCRIPT)->trigger();
        frame->newTab();
        QTest::keyClicks(frame->view(), QStringLiteral("elsewhere"));
        frame->action(ID_VIEW_DEBUG_OUTPUT)->trigger();
        auto* log = frame->debugPanel()->findChild<QPlainTextEdit*>();
        QTRY_VERIFY(log->toPlainText().startsWith(QLatin1String("error in line 3")));

        key(QKeySequence(Qt::Key_F6));
        QCOMPARE(QApplication::focusWidget(), log);
        QTest::keyClick(log, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(log, Qt::Key_Return);
        QCOMPARE(frame->document()->GetPathName(), main);
        QCOMPARE(frame->view()->textCursor().blockNumber(), 2);
        QCOMPARE(frame->view()->extraSelections().size(), 1);  // the line is marked
        QCOMPARE(QApplication::focusWidget(), frame->view());

        key(QKeySequence(Qt::SHIFT | Qt::Key_F6));
        QCOMPARE(QApplication::focusWidget(), log);
        QTest::keyClick(log, Qt::Key_Down);
        QCOMPARE(frame->debugPanel()->currentLine(), 1);
        const QPoint second = log->cursorRect(log->textCursor()).center();
        QTest::mouseDClick(log->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QCOMPARE(frame->document()->GetTitle(), QStringLiteral("brief01.scr"));
        QCOMPARE(frame->view()->textCursor().blockNumber(), 1);
        QCOMPARE(scripts()->count(), 3);
        QVERIFY(rec.boxes.isEmpty());
    }

    // The window comes back as large and where it was left, maximised
    // included, and a script handed over leaves it so.
    void windowPlacementIsKept()
    {
        start();
        frame->showMaximized();
        QTRY_VERIFY(frame->isMaximized());
        frame->close();
        app.reset();
        start();
        QVERIFY(frame->isMaximized());
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
        frame->showMaximized();
        QTRY_VERIFY(frame->isMaximized());
        second.start(QStringLiteral(VANTREL_BINARY_DIR "/src/vantrel"), {p});
        QTRY_COMPARE_WITH_TIMEOUT(frame->document()->GetPathName(), p, 10000);
        QVERIFY(frame->isMaximized());
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
    }

    // A script handed over to an editor with unsaved changes asks first, as
    // File > Open does; the question's own event loop must not pull the
    // connection from under it.
    void aHandOverAsksAboutUnsavedChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("Yes") << int(mb::IDYES) << true << QByteArray("edited END\r\n");
        QTest::newRow("No") << int(mb::IDNO) << true << QByteArray("END\r\n");
        QTest::newRow("Cancel") << int(mb::IDCANCEL) << false << QByteArray("END\r\n");
    }
    void aHandOverAsksAboutUnsavedChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, opened);
        QFETCH(QByteArray, saved);
        const QString first = script(QStringLiteral("first.iws"));
        start({first, QStringLiteral("-Embedding")});
        QTest::keyClicks(frame->view(), QStringLiteral("edited "));
        rec.answer = answer;
        const QString other = script(QStringLiteral("other.iws"));
        {
            QLocalSocket socket;
            socket.connectToServer(CVantrelApp::instanceName());
            QVERIFY(socket.waitForConnected(1000));
            socket.write(other.toUtf8() + "\n");
            // The second start goes as soon as it has its answer.
            QTRY_VERIFY(socket.canReadLine() || socket.waitForReadyRead(10));
            QCOMPARE(socket.readLine(), QByteArray("ok\n"));
        }
        QTRY_COMPARE(rec.boxes.size(), 1);
        QTest::qWait(50);
        QCOMPARE(frame->document()->GetPathName(), opened ? other : first);
        QCOMPARE(frame->document()->IsModified(), !opened);
        QCOMPARE(readFile(first), saved);
        QVERIFY(frame->isActiveWindow());
    }

    // A script handed over while a question is open waits for the answer, and
    // is then opened as usual.
    void aHandOverWaitsForTheQuestionThatIsOpen()
    {
        start();
        frame->showMaximized();
        QTest::keyClicks(frame->view(), QStringLiteral("x"));
        const QString other = script(QStringLiteral("waiting.iws"));
        QLocalSocket socket;
        rec.onShow = [&] {
            if (socket.state() != QLocalSocket::UnconnectedState)
                return;
            socket.connectToServer(CVantrelApp::instanceName());
            socket.write(other.toUtf8() + "\n");
            socket.flush();
            QTest::qWait(300);  // the question is still open meanwhile
            QVERIFY(frame->document()->IsModified());
        };
        frame->action(ID_FILE_NEW)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QTRY_COMPARE(frame->document()->GetPathName(), other);
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(frame->isMaximized());
        rec.onShow = {};
    }

    // The second start names the script relative to its own folder.
    void aRelativeNameIsHandedOverFromAnotherFolder()
    {
        start();
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("elsewhere/sub")));
        const QString p = writeFile(dir.filePath(QStringLiteral("elsewhere/sub/rel.iws")), "END\r\n");
        QProcess second;
        second.setWorkingDirectory(dir.filePath(QStringLiteral("elsewhere")));
        second.start(QStringLiteral(VANTREL_BINARY_DIR "/src/vantrel"), {QStringLiteral("sub/rel.iws")});
        QTRY_COMPARE_WITH_TIMEOUT(frame->document()->GetPathName(), p, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
    }

    // Save As names an untitled script: caption, path, and the next Save
    // writes there without asking again.
    void saveAsNamesAnUntitledScript()
    {
        start();
        QTest::keyClicks(frame->view(), QStringLiteral("END"));
        const QString target = dir.filePath(QStringLiteral("named.iws"));
        int asked = 0;
        filedlg::setAnswerer([&](const filedlg::Request& r) {
            ++asked;
            return r.save ? target : QString();
        });
        frame->action(ID_FILE_SAVE_AS)->trigger();
        QCOMPARE(readFile(target), QByteArray("END"));
        QCOMPARE(frame->windowTitle(), QStringLiteral("named.iws - Vantrel"));
        QCOMPARE(frame->document()->GetPathName(), target);
        QTest::keyClick(frame->view(), Qt::Key_Return);
        QCOMPARE(frame->windowTitle(), QStringLiteral("named.iws* - Vantrel"));
        QTest::keyClick(frame->view(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(asked, 1);
        QCOMPARE(readFile(target), QByteArray("END\r\n"));
        QCOMPARE(app->recentFiles().paths().value(0), target);
    }

    // F2 goes from a label's name to its definition, in the script or in an
    // include that opens in a tab; Alt+Left comes back, across scripts;
    // Shift+F2 lists the uses in both, and Enter on one goes there.
    void goToDefinitionAcrossAnIncludeAndBack()
    {
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("nav")));
        writeFile(dir.filePath(QStringLiteral("nav/Ships.SHP")), "Patrol:\r\nBRA Home\r\n");
        const QString mission = writeFile(dir.filePath(QStringLiteral("nav/mission.iws")),
                                          "#INCLUDE ships.shp\r\nHome:\r\nBRA Patrol\r\nBRA Home\r\nBRA Nowhere\r\n");
        start({mission, QStringLiteral("-Embedding")});
        const auto caretTo = [this](int line, int column) {
            QTextCursor c(frame->view()->document()->findBlockByNumber(line));
            c.setPosition(c.position() + column);
            frame->view()->setTextCursor(c);
        };
        const auto where = [this] {
            return frame->document()->GetTitle() + QLatin1Char(':') +
                   QString::number(frame->view()->textCursor().blockNumber());
        };
        caretTo(3, 6);  // in "Home" of "BRA Home"
        QTest::keyClick(frame->view(), Qt::Key_F2);
        QCOMPARE(where(), QStringLiteral("mission.iws:1"));
        caretTo(2, 4);  // before "Patrol"
        QTest::keyClick(frame->view(), Qt::Key_F2);
        QCOMPARE(where(), QStringLiteral("Ships.SHP:0"));
        QCOMPARE(frame->scripts()->count(), 2);
        QTest::keyClick(frame->view(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(where(), QStringLiteral("mission.iws:2"));
        QTest::keyClick(frame->view(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(where(), QStringLiteral("mission.iws:3"));

        // A name no script defines stays where it is and says so.
        caretTo(4, 5);
        QTest::keyClick(frame->view(), Qt::Key_F2);
        QCOMPARE(where(), QStringLiteral("mission.iws:4"));
        QVERIFY(frame->statusBar()->currentMessage().contains(QLatin1String("Nowhere")));

        caretTo(1, 0);  // on the definition itself
        QTest::keyClick(frame->view(), Qt::Key_F2, Qt::ShiftModifier);
        auto* uses = frame->findChild<UsesPanel*>();
        QVERIFY(uses->isVisible());
        QCOMPARE(uses->places().size(), 2);
        QCOMPARE(uses->places()[1].file, QStringLiteral("Ships.SHP"));
        uses->list()->setFocus();
        uses->list()->setCurrentRow(1);
        QTest::keyClick(uses->list(), Qt::Key_Return);
        QCOMPARE(where(), QStringLiteral("Ships.SHP:1"));
        QVERIFY(frame->view()->hasFocus());
        QTest::keyClick(frame->view(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(where(), QStringLiteral("mission.iws:1"));
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

    // Another program changes the script under the editor: a question, with
    // No as the default when it would cost unsaved changes; a version
    // declined is not asked about again, but Save asks before writing over it.
    void aChangeOnDiskIsAQuestion()
    {
        const QString p = script(QStringLiteral("disk.iws"));
        start({p, QStringLiteral("-Embedding")});
        CVantrelDoc* doc = frame->document();
        rec.answer = mb::IDYES;
        writeFile(p, "OTHER\r\n");
        QTRY_COMPARE(frame->view()->rawText(), QStringLiteral("OTHER\n"));
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].text, QString(str::kChangedOnDiskReload).arg("disk.iws"));
        QCOMPARE(rec.boxes[0].flags, mb::MB_YESNO | mb::MB_ICONEXCLAMATION);
        QVERIFY(!doc->IsModified());

        QTest::keyClicks(frame->view(), QStringLiteral("mine "));
        rec.answer = mb::IDNO;
        writeFile(p, "THIRD\r\n");
        QTRY_COMPARE(rec.boxes.size(), 2);
        QCOMPARE(rec.boxes[1].text, QString(str::kChangedOnDiskLoseChanges).arg("disk.iws"));
        QCOMPARE(rec.boxes[1].flags, mb::MB_YESNO | mb::MB_ICONEXCLAMATION | mb::MB_DEFBUTTON2);
        writeFile(dir.filePath(QStringLiteral("neighbour.iws")), "x");  // the folder changes, the script does not
        QTest::qWait(300);
        QCOMPARE(rec.boxes.size(), 2);
        QCOMPARE(frame->view()->rawText(), QStringLiteral("mine OTHER\n"));

        frame->action(ID_FILE_SAVE)->trigger();
        QCOMPARE(rec.boxes.size(), 3);
        QCOMPARE(rec.boxes[2].text, QString(str::kSaveOverChanges).arg("disk.iws"));
        QCOMPARE(rec.boxes[2].flags, mb::MB_YESNO | mb::MB_ICONEXCLAMATION | mb::MB_DEFBUTTON2);
        QCOMPARE(readFile(p), QByteArray("THIRD\r\n"));
        QVERIFY(doc->IsModified());
        rec.answer = mb::IDYES;
        frame->action(ID_FILE_SAVE)->trigger();
        QCOMPARE(readFile(p), QByteArray("mine OTHER\r\n"));
        // The editor's own save is no change by another program.
        QTest::keyClicks(frame->view(), QStringLiteral("again "));
        frame->action(ID_FILE_SAVE)->trigger();
        QTest::qWait(300);
        QCOMPARE(rec.boxes.size(), 4);

        // Reload answered Yes with unsaved changes: the other program's text wins.
        QTest::keyClicks(frame->view(), QStringLiteral("lost "));
        writeFile(p, "FOURTH\r\n");
        QTRY_COMPARE(frame->view()->rawText(), QStringLiteral("FOURTH\n"));
        QVERIFY(!doc->IsModified());
    }

    // A script deleted or moved away keeps its text, marked unsaved, and Save
    // writes it again; one replaced by a link to another file is not written
    // through the link unasked.
    void aScriptGoneOrReplacedByALinkIsKept()
    {
        const QString p = script(QStringLiteral("gone.iws"));
        start({p, QStringLiteral("-Embedding")});
        QVERIFY(QFile::rename(p, dir.filePath(QStringLiteral("moved.iws"))));
        QTRY_VERIFY(frame->document()->IsModified());
        QCOMPARE(frame->windowTitle(), QStringLiteral("gone.iws* - Vantrel"));
        frame->action(ID_FILE_SAVE)->trigger();
        QCOMPARE(readFile(p), QByteArray("END\r\n"));
        QVERIFY(!frame->document()->IsModified());
        QTest::qWait(300);
        QVERIFY(rec.boxes.isEmpty());

        const QString other = writeFile(dir.filePath(QStringLiteral("other.txt")), "OTHER FILE\r\n");
        const QString link = dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(other, link) && ::rename(QFile::encodeName(link), QFile::encodeName(p)) == 0);
        QTRY_COMPARE(rec.boxes.size(), 1);  // reload? No
        QTest::keyClicks(frame->view(), QStringLiteral("mine "));
        frame->action(ID_FILE_SAVE)->trigger();
        QCOMPARE(rec.boxes.size(), 2);
        QCOMPARE(rec.boxes[1].text, QString(str::kSaveOverChanges).arg("gone.iws"));
        QCOMPARE(readFile(other), QByteArray("OTHER FILE\r\n"));
    }

    // The question's event loop lets more happen: a second change to the
    // file is covered by the answer given, text typed meanwhile is not.
    void aChangeDuringTheQuestionIsCoveredByItsAnswer()
    {
        const QString p = script(QStringLiteral("twice.iws"));
        start({p, QStringLiteral("-Embedding")});
        const auto during = [&](std::function<void()> what) {
            int shown = 0;
            rec.onShow = [what, shown]() mutable {
                if (shown++ == 0) {
                    what();
                    QTest::qWait(300);
                }
            };
        };
        rec.answer = mb::IDYES;
        during([&] { writeFile(p, "SECOND VERSION\r\n"); });
        writeFile(p, "FIRST\r\n");
        QTRY_COMPARE(frame->view()->rawText(), QStringLiteral("SECOND VERSION\n"));
        rec.answer = mb::IDNO;
        during([&] { writeFile(p, "FOURTH\r\n"); });
        writeFile(p, "THIRD\r\n");
        QTRY_COMPARE(rec.boxes.size(), 2);
        QTest::qWait(300);
        QCOMPARE(rec.boxes.size(), 2);
        QCOMPARE(frame->view()->rawText(), QStringLiteral("SECOND VERSION\n"));

        // Reload agreed to for a script without changes, which has some by then.
        rec.answer = mb::IDYES;
        during([&] { frame->view()->insertScriptText(QStringLiteral("typed meanwhile ")); });
        writeFile(p, "FIFTH\r\n");
        QTRY_COMPARE(rec.boxes.size(), 4);
        QCOMPARE(rec.boxes[3].text, QString(str::kChangedOnDiskLoseChanges).arg("twice.iws"));
        QTRY_COMPARE(frame->view()->rawText(), QStringLiteral("FIFTH\n"));

        // A change during the save question of New waits for its answer.
        QTest::keyClicks(frame->view(), QStringLiteral("mine "));
        qsizetype shownDuring = -1;
        during([&] {
            writeFile(p, "SIXTH\r\n");
            QTest::qWait(300);
            shownDuring = rec.boxes.size();
        });
        rec.answer = mb::IDCANCEL;
        frame->action(ID_FILE_NEW)->trigger();
        QCOMPARE(shownDuring, 4);  // none over the open question
        QTRY_COMPARE(rec.boxes.size(), 6);
        QCOMPARE(rec.boxes[5].text, QString(str::kChangedOnDiskLoseChanges).arg("twice.iws"));
        rec.onShow = {};
    }

    // A save beyond the user's file-size limit fails like one onto a full
    // disk: a message with the system's reason, the old file as it was.
    void aSaveOntoAFullDiskKeepsTheOldFile()
    {
        const QString p = script(QStringLiteral("full.iws"));
        start({p, QStringLiteral("-Embedding")});
        frame->view()->insertScriptText(QString(5000, QLatin1Char('x')));
        {
            const FileSizeLimit full(100);
            frame->action(ID_FILE_SAVE)->trigger();
        }
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].text, QString(str::kSaveFailed).arg(p, qt_error_string(EFBIG)));
        QCOMPARE(readFile(p), QByteArray("END\r\n"));
        QVERIFY(frame->document()->IsModified());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp")), QStringList());
    }

    // A copy of unsaved text that cannot be written is told, once a run,
    // with the folder and the reason; the script stays modified.
    void aCopyThatCannotBeWrittenIsTold()
    {
        start({script(QStringLiteral("unkept.iws")), QStringLiteral("-Embedding")});
        frame->view()->insertScriptText(QString(5000, QLatin1Char('x')));
        {
            const FileSizeLimit full(100);
            for (int i = 0; i < 2; ++i) {
                frame->document()->keepForRecovery();
                RecoveryJournal::forThisProcess().flush();
            }
        }
        QTRY_COMPARE(rec.boxes.size(), 1);
        QTest::qWait(20);
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].text,
                 QString(str::kRecoveryNotKept)
                     .arg(QDir::toNativeSeparators(RecoveryJournal::standardFolder()), qt_error_string(EFBIG)));
        QVERIFY(frame->document()->IsModified());
    }

    // The copy of unsaved text is written a few seconds after an edit and
    // goes once nothing is unsaved: after Save, New answered No, and closing.
    void theCopyOfUnsavedTextGoesWithTheChanges()
    {
        QDir(RecoveryJournal::standardFolder()).removeRecursively();
        start({script(QStringLiteral("kept.iws")), QStringLiteral("-Embedding")});
        const std::function<void()> discards[] = {
            [&] { frame->action(ID_FILE_SAVE)->trigger(); },
            [&] { frame->action(ID_FILE_NEW)->trigger(); },
            [&] { frame->close(); },
        };
        for (const auto& discard : discards) {
            QTest::keyClicks(frame->view(), QStringLiteral("a"));
            QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1, 8000);
            discard();
            QVERIFY2(copies().isEmpty(), qPrintable(QString::number(&discard - discards)));
        }
        QVERIFY(!frame->isVisible());
    }

    // Unsaved work of an editor that was killed, or told to end, is offered
    // at the next start (never while its editor runs): Yes shows it as an
    // unsaved script, No discards it. Told to end, the editor keeps the
    // changes of a script in a tab behind the one shown.
    void unsavedWorkOutlivesTheEditor()
    {
        QDir(RecoveryJournal::standardFolder()).removeRecursively();
        const QString p = script(QStringLiteral("lost.iws"));
        for (const int sig : {SIGKILL, SIGTERM}) {
            QProcess editor;
            const QStringList args =
                sig == SIGKILL ? QStringList{p, QStringLiteral("journalled")}
                               : QStringList{p, QStringLiteral("edited"), script(QStringLiteral("shown.iws"))};
            editor.start(QStringLiteral(VANTREL_BINARY_DIR "/tests/recovery_helper"), args);
            QVERIFY(editor.waitForReadyRead(20000));
            QCOMPARE(editor.readAll(), QByteArray("ready\n"));
            if (sig == SIGKILL) {
                QCOMPARE(copies().size(), 1);
                QVERIFY(RecoveryJournal::Leftovers(RecoveryJournal::standardFolder()).copies().isEmpty());
            }
            QCOMPARE(::kill(pid_t(editor.processId()), sig), 0);
            QVERIFY(editor.waitForFinished(20000));
            if (sig == SIGTERM)
                QVERIFY(editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0);
            QCOMPARE(copies().size(), 1);

            rec.boxes.clear();
            rec.answer = sig == SIGKILL ? mb::IDYES : mb::IDNO;
            start();
            QCOMPARE(rec.boxes.size(), 1);
            const QString asked = QString(str::kRecoverQuestion).arg(QStringLiteral("lost.iws"), QStringLiteral("\1"));
            QVERIFY2(rec.boxes[0].text.startsWith(asked.section(QLatin1Char('\1'), 0, 0)),
                     qPrintable(rec.boxes[0].text));
            QCOMPARE(rec.boxes[0].flags, mb::MB_YESNO | mb::MB_ICONEXCLAMATION);
            QCOMPARE(copies(), QStringList());
            CVantrelDoc* doc = frame->document();
            if (sig == SIGKILL) {
                QCOMPARE(doc->GetPathName(), p);
                QCOMPARE(frame->view()->rawText(), QStringLiteral("typed before the end\nEND\n"));
                QVERIFY(doc->IsModified());
                QCOMPARE(readFile(p), QByteArray("END\r\n"));
            } else {
                QVERIFY(doc->GetPathName().isEmpty() && !doc->IsModified());
            }
            cleanup();
        }
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
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
