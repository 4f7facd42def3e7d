// The main window as the user meets it: menus, keys, toolbar, status bar,
// caption, help, dropped files and the HTML export.
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "resources/commands.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

using namespace ids;

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

namespace {

// The menu as the user reads it: one line per item, "-" for a separator,
// nested menus indented.
void describe(const QMenu* menu, QStringList& out, const QString& indent)
{
    for (QAction* a : menu->actions()) {
        if (!a->isVisible())
            continue;
        if (a->isSeparator())
            out << indent + QLatin1Char('-');
        else if (a->menu()) {
            out << indent + a->text();
            describe(a->menu(), out, indent + QLatin1String("  "));
        } else
            out << indent + a->text();
    }
}

}  // namespace

class TestFrame : public QObject {
    Q_OBJECT
    TestEnv env;
    QTemporaryDir dir;
    CMainFrame* frame = nullptr;
    QList<mb::Box> boxes;

private slots:
    void init()
    {
        boxes.clear();
        mb::setAnswerer([this](const mb::Box& b) {
            boxes.append(b);
            return mb::IDNO;
        });
        frame = new CMainFrame(nullptr);
        frame->document()->OnNewDocument();
        frame->show();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        frame->view()->setFocus();
    }
    void cleanup()
    {
        frame->document()->SetModifiedFlag(false);
        delete frame;
        mb::setAnswerer({});
        filedlg::setAnswerer({});
    }

    void mainMenuIsLaidOutAsUsersExpect()
    {
        QStringList menus;
        for (QAction* top : frame->menuBar()->actions()) {
            menus << top->text();
            describe(top->menu(), menus, QStringLiteral("  "));
        }
        const QStringList expected = {
            "&File", "  &New\tCtrl+N", "  &Open...\tCtrl+O", "  &Save\tCtrl+S", "  Save &As...",
            "  &Export as HTML...", "  -", "  Recent File", "  -", "  E&xit",
            "&Edit", "  &Undo\tCtrl+Z", "  -", "  Cu&t\tCtrl+X", "  &Copy\tCtrl+C", "  &Paste\tCtrl+V",
            "  Select A&ll\tCtrl+A", "  -", "  &Find...\tCtrl+F", "  F&ind Next\tF3", "  R&eplace\tCtrl+H",
            "&View", "  &Toolbar", "  &Status Bar", "  -", "  &Regenerate Syntax Highlights\tF5",
            "&Script", "  &Launch script in Independence War\tF12", "  -", "  Open &debug output file\tF11",
            "  Clear debu&g output file", "  -", "  &Create Basic Script", "  -", "  Code &Snippet Library...\tF8",
            "  &Add Code Snippet to Library...\tCtrl+F8",
            "&Options", "  &Syntax Highlighting Colours", "    &Regular Text...", "    -", "    &Commands...",
            "    &Keywords...", "    C&omments...", "    &Strings...", "    &Labels...", "  -",
            "  &Launch Options...\tCtrl+F12",
            "&Help", "  Vantrel &Help...", "  -", "  &About Vantrel...",
        };
        QCOMPARE(menus, expected);
    }

    void menusOpenWithTheirMnemonics()
    {
        frame->view()->setPlainText(QString());
        QTest::keyClick(frame->view(), Qt::Key_H, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("&Help"));
        menu->close();
        QCOMPARE(frame->view()->rawText(), QString());  // nothing typed
    }

    void droppedOnTheEditorAFileIsOpenedNotPasted()
    {
        const QString p = dir.filePath(QStringLiteral("onto-editor.iws"));
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("WAIT 1\r\n");
        f.close();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(p)});
        QWidget* target = frame->view()->viewport();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QTRY_COMPARE(frame->document()->GetPathName(), p);
        QCOMPARE(frame->view()->rawText(), QStringLiteral("WAIT 1\n"));
    }

    void everyAcceleratorReachesItsCommand_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<int>("id");
        for (const res::Accelerator& a : res::mainAccelerators())
            QTest::newRow(qPrintable(QKeySequence(a.key).toString())) << a.key << a.id;
    }
    void everyAcceleratorReachesItsCommand()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(int, id);
        QAction* action = frame->action(id);
        QVERIFY(action);
        QVERIFY(action->shortcuts().contains(QKeySequence(key)));
        // Make every edit command able to act, then count triggers without
        // running the commands (several open modal dialogs).
        frame->view()->setPlainText(QStringLiteral("some text"));
        frame->view()->selectAll();
        QTest::keyClicks(frame->view(), QStringLiteral("x"));
        frame->view()->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        frame->UpdateCommandUI();
        if (!action->isEnabled())
            QSKIP("a command without a handler in this program");
        disconnect(action, &QAction::triggered, frame, nullptr);
        QSignalSpy spy(action, &QAction::triggered);
        QTest::keySequence(frame->view(), QKeySequence(key));
        QCOMPARE(spy.count(), 1);
        // The same key acts from anywhere in the frame; the edit commands
        // act only on the script editing control, so elsewhere they are off.
        const bool editCommand = id == ID_EDIT_COPY || id == ID_EDIT_CUT || id == ID_EDIT_PASTE || id == ID_EDIT_UNDO;
        QTest::keySequence(frame->menuBar(), QKeySequence(key));
        QCOMPARE(spy.count(), 2);
        auto* other = new QLineEdit(frame->statusBar());
        other->show();
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        frame->UpdateCommandUI();
        QTest::keySequence(other, QKeySequence(key));
        delete other;
        if (editCommand)
            QCOMPARE(spy.count(), 2);
        else
            QVERIFY(spy.count() >= 2);
    }

    void toolbarHasItsTwelveButtonsInOrder()
    {
        QStringList tips;
        int icons = 0;
        for (QAction* a : frame->toolBar()->actions()) {
            tips << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
            if (!a->isSeparator() && !a->icon().isNull())
                ++icons;
        }
        const QStringList expected = {"New", "Open", "Save", "|", "Find", "Regenerate syntax highlighting", "|", "Cut",
                                      "Copy", "Paste", "|", "Show Code Snippet Library", "Add selected code to Library",
                                      "|", "Launch script in Independence War", "|", "About"};
        QCOMPARE(tips, expected);
        QCOMPARE(icons, 12);
        QVERIFY(frame->toolBar()->isMovable());
        QVERIFY(frame->toolBar()->isFloatable());
        QCOMPARE(frame->toolBar()->allowedAreas(), Qt::AllToolBarAreas);
        // The 24-bit strip needs the classic grey button face.
        const QColor face = QApplication::palette().color(QPalette::Button);
        QCOMPARE(frame->toolbarBitmapId(), face == QColor(192, 192, 192) ? IDB_TOOLBAR_24 : IDB_TOOLBAR_16);
    }

    void toolbarAndStatusBarCanBeHiddenAndShown()
    {
        QVERIFY(frame->toolBar()->isVisible());
        frame->action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!frame->toolBar()->isVisible());
        QVERIFY(!frame->action(ID_VIEW_TOOLBAR)->isChecked());
        frame->action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(frame->toolBar()->isVisible());
        frame->action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!frame->statusBar()->isVisible());
        frame->action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(frame->statusBar()->isVisible());
        QVERIFY(frame->action(ID_VIEW_STATUS_BAR)->isChecked());
    }

    void statusBarShowsReadyAndPrompts()
    {
        QCOMPARE(frame->messagePane()->text(), QStringLiteral("Ready"));
        QCOMPARE(frame->linePane()->text(), QStringLiteral("Line 1"));
        for (const res::CommandInfo& c : res::commands()) {
            if (QAction* a = frame->action(c.id); a && c.prompt)
                QCOMPARE(a->statusTip(), QString::fromLatin1(c.prompt));
        }
        frame->action(ID_LAUNCH_SCRIPT)->showStatusText(frame->toolBar());
        QCOMPARE(frame->statusBar()->currentMessage(),
                 QStringLiteral("Launches the current script in Independence War using the chosen settings"));
        QVERIFY(frame->findChild<QLabel*>(QStringLiteral("pane_%1").arg(ID_INDICATOR_CAPS)));
        QVERIFY(frame->findChild<QLabel*>(QStringLiteral("pane_%1").arg(ID_INDICATOR_NUM)));
        QVERIFY(frame->findChild<QLabel*>(QStringLiteral("pane_%1").arg(ID_INDICATOR_SCRL)));
        // A line number wider than the pane's sizing text still shows in full.
        frame->m_currentLine = 1234567;
        frame->OnUpdateLinePane();
        QCOMPARE(frame->linePane()->text(), QStringLiteral("Line 1234567"));
    }

    void captionFollowsTheDocument()
    {
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled - Vantrel"));
        const QString p = dir.filePath(QStringLiteral("attack run.iws"));
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(frame->document()->OnOpenDocument(p, nullptr));
        QCOMPARE(frame->windowTitle(), QStringLiteral("attack run.iws - Vantrel"));
    }

    void helpOpensThePageBesideTheProgram()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        frame->action(ID_APP_HELP)->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls[0].toLocalFile(), QCoreApplication::applicationDirPath() + QStringLiteral("/VantrelHelp.html"));
        QVERIFY(boxes.isEmpty());  // no message even when the page is missing
    }

    void droppedFileIsOpenedAfterTheSavePrompt()
    {
        const QString p = dir.filePath(QStringLiteral("dropped.iws"));
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("END\r\n");
        f.close();
        QTest::keyClicks(frame->view(), QStringLiteral("unsaved"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(p)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &drop);
        QTRY_COMPARE(frame->document()->GetPathName(), p);
        QCOMPARE(boxes.size(), 1);  // the save prompt, answered No
        QCOMPARE(frame->view()->rawText(), QStringLiteral("END\n"));
        QCOMPARE(frame->view()->colourAt(0), ColourRef(0x00FF8000));
    }

    void exportAsHtmlWritesTheColouredPage()
    {
        const QString script = dir.filePath(QStringLiteral("mission.iws"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("END ; <done> & \"quoted\"\r\n");
        f.close();
        QVERIFY(frame->document()->OnOpenDocument(script, nullptr));
        QString proposed;
        filedlg::setAnswerer([&](const filedlg::Request& r) {
            proposed = r.proposed;
            return dir.filePath(QStringLiteral("page.html"));
        });
        frame->action(ID_FILE_EXPORT_HTML)->trigger();
        QCOMPARE(proposed, dir.filePath(QStringLiteral("mission.html")));
        QFile page(dir.filePath(QStringLiteral("page.html")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY(html.contains(QLatin1String("<span style=\"color:#0080ff\">END</span>")));
        QVERIFY(html.contains(QLatin1String("&lt;done&gt; &amp; &quot;quoted&quot;")));
        QVERIFY(html.contains(QLatin1String("charset=\"utf-8\"")));
    }
};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
