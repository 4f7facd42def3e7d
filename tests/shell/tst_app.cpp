// Start-up as the program runs it: the command line, the recent-file list,
// the desktop's file type, and scripts handed to the running editor.
#include "common/Helpers.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "platform/FileDialogs.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelApp.h"
#include "shell/CVantrelDoc.h"
#include "shell/CommandLine.h"
#include "shell/DesktopIntegration.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestApp : public QObject {
    Q_OBJECT
    TestEnv env;
    QTemporaryDir dir;
    BoxRecorder rec{mb::IDNO};

    QString script(const QString& name) { return writeFile(dir.filePath(name), "END\r\n"); }
    // A running editor with no script and fresh settings.
    static std::unique_ptr<CVantrelApp> started()
    {
        auto app = std::make_unique<CVantrelApp>(CommandLine::parse({QStringLiteral("-Embedding")}));
        return app->InitInstance() ? std::move(app) : nullptr;
    }

private slots:
    void init()
    {
        rec.boxes.clear();
        rec.answer = mb::IDNO;
        env.resetSettings();
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("splash");
        QTest::addColumn<QString>("file");
        using A = CommandLine::Action;
        QTest::newRow("nothing") << QStringList{} << int(A::Run) << true << QString();
        QTest::newRow("a script") << QStringList{"m.iws"} << int(A::Run) << true << "m.iws";
        QTest::newRow("-Embedding") << QStringList{"-Embedding"} << int(A::Run) << false << QString();
        QTest::newRow("/Embedding") << QStringList{"/Embedding", "m.iws"} << int(A::Run) << false << "m.iws";
        QTest::newRow("-Automation") << QStringList{"-Automation"} << int(A::Run) << false << QString();
        QTest::newRow("/Automation") << QStringList{"/Automation"} << int(A::Run) << false << QString();
        QTest::newRow("an absolute path") << QStringList{"/home/a b/m.iws"} << int(A::Run) << true << "/home/a b/m.iws";
        QTest::newRow("--help") << QStringList{"--help"} << int(A::Help) << true << QString();
        QTest::newRow("--version") << QStringList{"--version"} << int(A::Version) << true << QString();
        QTest::newRow("export") << QStringList{"--export-html", "m.iws"} << int(A::ExportHtml) << true << "m.iws";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << int(A::Error) << true << QString();
        QTest::newRow("two scripts") << QStringList{"a.iws", "b.iws"} << int(A::Error) << true << "a.iws";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(bool, splash);
        QFETCH(QString, file);
        const CommandLine cl = CommandLine::parse(args);
        QCOMPARE(int(cl.action), action);
        QCOMPARE(cl.showSplash, splash);
        QCOMPARE(cl.file, file);
    }

    void startsWithTheNamedScriptAndRemembersIt()
    {
        const QString p = script(QStringLiteral("start.iws"));
        {
            CVantrelApp app(CommandLine::parse({p, QStringLiteral("-Embedding")}));
            QVERIFY(app.InitInstance());
            CMainFrame* frame = app.mainFrame();
            QVERIFY(frame->isVisible());
            QCOMPARE(frame->document()->GetPathName(), p);
            QCOMPARE(frame->windowTitle(), QStringLiteral("start.iws - Vantrel"));
            QCOMPARE(frame->view()->colourAt(0), ColourRef(0x00FF8000));
            QAction* first = frame->action(ids::ID_FILE_MRU_FILE1);
            QVERIFY(first);
            QCOMPARE(first->text(), QStringLiteral("&1 ") + p);
            QCOMPARE(first->statusTip(), QStringLiteral("Open this document"));
            frame->close();
        }
        QCOMPARE(ProfileStore::app().getString(QStringLiteral("Recent File List"), QStringLiteral("File1")), p);
    }

    void recentFilesKeepFourNewestFirst()
    {
        const auto app = started();
        QVERIFY(app);
        CMainFrame* frame = app->mainFrame();
        QVERIFY(!frame->action(ids::ID_FILE_MRU_FILE1));  // only the greyed placeholder
        QStringList opened;
        for (int i = 0; i < 5; ++i) {
            opened.prepend(script(QStringLiteral("r%1.iws").arg(i)));
            QVERIFY(app->OpenDocumentFile(opened.first()));
        }
        QCOMPARE(app->recentFiles().paths(), opened.mid(0, 4));
        // Reopening an entry moves it to the top; a vanished file leaves the list.
        QFile::remove(opened[2]);
        app->OnOpenRecentFile(2);
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(app->recentFiles().paths().size(), 3);
        frame->action(ids::ID_FILE_MRU_FILE1 + 2)->trigger();
        QCOMPARE(frame->document()->GetPathName(), opened[3]);
        QCOMPARE(app->recentFiles().paths().first(), opened[3]);
        QCOMPARE(ProfileStore::app().getString(QStringLiteral("Recent File List"), QStringLiteral("File1")), opened[3]);
        QCOMPARE(ProfileStore::app().getString(QStringLiteral("Recent File List"), QStringLiteral("File4"), "none"),
                 QStringLiteral("none"));
        frame->close();
    }

    void openAndExitAskToSaveFirst()
    {
        const auto app = started();
        QVERIFY(app);
        CMainFrame* frame = app->mainFrame();
        const QString next = script(QStringLiteral("next.iws"));
        filedlg::setAnswerer([&](const filedlg::Request& r) { return r.save ? QString() : next; });
        QTest::keyClicks(frame->view(), QStringLiteral("edited"));

        // Open: Cancel at the prompt keeps the edits and opens nothing.
        rec.answer = mb::IDCANCEL;
        frame->action(ids::ID_FILE_OPEN)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(frame->document()->GetPathName().isEmpty());
        rec.answer = mb::IDNO;
        frame->action(ids::ID_FILE_OPEN)->trigger();
        QCOMPARE(frame->document()->GetPathName(), next);

        // Exit: Cancel keeps the window; No closes it.
        QTest::keyClicks(frame->view(), QStringLiteral("more"));
        rec.answer = mb::IDCANCEL;
        frame->action(ids::ID_APP_EXIT)->trigger();
        QCOMPARE(rec.boxes.size(), 3);
        QVERIFY(frame->isVisible());
        rec.answer = mb::IDNO;
        frame->action(ids::ID_APP_EXIT)->trigger();
        QVERIFY(!frame->isVisible());
        filedlg::setAnswerer({});
    }

    void aScriptThatCannotBeOpenedEndsTheProgramWithAMessage()
    {
        CVantrelApp app(CommandLine::parse({dir.filePath(QStringLiteral("absent.iws"))}));
        QVERIFY(!app.InitInstance());
        QVERIFY(!app.handedOver());
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(rec.boxes[0].text.contains(QLatin1String("absent.iws")));
    }

    void desktopFileTypeIsWrittenOnlyWhenItDiffers()
    {
        const QString exe = QStringLiteral("/opt/my apps/vantrel");
        const QString base = env.dataHome();
        QDir(base).removeRecursively();
        QCOMPARE(DesktopIntegration::registerFileType(exe), 4);
        const QString xml = QString::fromUtf8(readFile(base + QStringLiteral("/mime/packages/vantrel-iws.xml")));
        QVERIFY(xml.contains(QLatin1String("<glob pattern=\"*.iws\"/>")));
        QVERIFY(xml.contains(QLatin1String("<comment>Independence War Script</comment>")));
        const QString entry = QString::fromUtf8(readFile(base + QStringLiteral("/applications/vantrel.desktop")));
        QVERIFY(entry.contains(QLatin1String("Exec=\"/opt/my apps/vantrel\" %f")));
        QVERIFY(entry.contains(QLatin1String("MimeType=text/x-iwar-script;")));
        QVERIFY(entry.contains(QLatin1String("1.1 final")));
        QVERIFY(QFileInfo::exists(base + QStringLiteral("/icons/hicolor/48x48/mimetypes/text-x-iwar-script.png")));
        QVERIFY(QFileInfo::exists(base + QStringLiteral("/icons/hicolor/48x48/apps/vantrel.png")));
        // Unchanged: nothing is written again. Another program path: only the entry.
        QCOMPARE(DesktopIntegration::registerFileType(exe), 0);
        QCOMPARE(DesktopIntegration::registerFileType(QStringLiteral("/usr/bin/vantrel")), 1);
        // A data folder that cannot be written is no error.
        qputenv("XDG_DATA_HOME", "/proc/vantrel-none");
        QCOMPARE(DesktopIntegration::registerFileType(exe), 0);
        qputenv("XDG_DATA_HOME", base.toLocal8Bit());
    }

    void aScriptOpenedFromTheDesktopGoesToTheRunningEditor()
    {
        const auto app = started();
        QVERIFY(app);
        const QString p = script(QStringLiteral("from desktop.iws"));
        QProcess second;
        second.setProgram(QStringLiteral(VANTREL_BINARY_DIR "/src/vantrel"));
        second.setArguments({p});
        second.start();
        QVERIFY(second.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(app->mainFrame()->document()->GetPathName(), p, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
        app->mainFrame()->close();
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
