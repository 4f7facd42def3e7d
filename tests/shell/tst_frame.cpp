// The main window as the user meets it: menus, keys, toolbar, status bar,
// caption, help, dropped files and the HTML export.
#include "common/Helpers.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "platform/FileDialogs.h"
#include "resources/commands.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"
#include "snippets/CSnippetLibraryDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <functional>

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
    BoxRecorder rec{mb::IDNO};
    CMainFrame* frame = nullptr;

private slots:
    void init()
    {
        rec.boxes.clear();
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
            "&File",
            "  &New\tCtrl+N",
            "  &Open...\tCtrl+O",
            "  &Save\tCtrl+S",
            "  Save &As...",
            "  &Export as HTML...",
            "  -",
            "  Recent File",
            "  -",
            "  E&xit",
            "&Edit",
            "  &Undo\tCtrl+Z",
            "  -",
            "  Cu&t\tCtrl+X",
            "  &Copy\tCtrl+C",
            "  &Paste\tCtrl+V",
            "  Select A&ll\tCtrl+A",
            "  -",
            "  &Find...\tCtrl+F",
            "  F&ind Next\tF3",
            "  R&eplace\tCtrl+H",
            "&View",
            "  &Toolbar",
            "  &Status Bar",
            "  -",
            "  &Regenerate Syntax Highlights\tF5",
            "&Script",
            "  &Launch script in Independence War\tF12",
            "  -",
            "  Open &debug output file\tF11",
            "  Clear debu&g output file",
            "  -",
            "  &Create Basic Script",
            "  -",
            "  Code &Snippet Library...\tF8",
            "  &Add Code Snippet to Library...\tCtrl+F8",
            "&Options",
            "  &Syntax Highlighting Colours",
            "    &Regular Text...",
            "    -",
            "    &Commands...",
            "    &Keywords...",
            "    C&omments...",
            "    &Strings...",
            "    &Labels...",
            "  -",
            "  &Launch Options...\tCtrl+F12",
            "&Help",
            "  Vantrel &Help...",
            "  -",
            "  &About Vantrel...",
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

    // A file dropped on the frame or on the editor is opened, not pasted,
    // after the save prompt (answered No), and coloured.
    void droppedFileIsOpened_data()
    {
        QTest::addColumn<bool>("onEditor");
        QTest::newRow("frame") << false;
        QTest::newRow("editor") << true;
    }
    void droppedFileIsOpened()
    {
        QFETCH(bool, onEditor);
        const QString p = writeFile(dir.filePath(QStringLiteral("dropped.iws")), "END\r\n");
        QTest::keyClicks(frame->view(), QStringLiteral("unsaved"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(p)});
        QWidget* target = onEditor ? frame->view()->viewport() : static_cast<QWidget*>(frame);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QTRY_COMPARE(frame->document()->GetPathName(), p);
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(frame->view()->rawText(), QStringLiteral("END\n"));
        QCOMPARE(frame->view()->colourAt(0), ColourRef(0x00FF8000));
    }

    // Every command with a menu item or a key runs its handler from the menu
    // and from each of its keys. Modal dialogs that commands open are closed
    // as they appear; message boxes are answered No.
    void everyCommandReachesItsHandler_data()
    {
        QTest::addColumn<int>("id");
        for (const res::CommandInfo& c : res::commands()) {
            bool keyed = false;
            for (const res::Accelerator& a : res::mainAccelerators())
                keyed = keyed || a.id == c.id;
            if (c.menuText || keyed)
                QTest::newRow(qPrintable(
                    QStringLiteral("%1 %2").arg(c.id).arg(QString::fromLatin1(c.menuText ? c.menuText : ""))))
                    << c.id;
        }
    }
    void everyCommandReachesItsHandler()
    {
        QFETCH(int, id);
        QAction* action = frame->action(id);
        QVERIFY(action);
        const auto prepare = [this] {
            // Every edit command able to act: focus in the editor, a
            // selection, text on the clipboard, something to undo.
            frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame));
            frame->view()->setFocus();
            frame->view()->setPlainText(QStringLiteral("some text"));
            frame->view()->selectAll();
            QTest::keyClicks(frame->view(), QStringLiteral("x"));
            frame->view()->selectAll();
            QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
            frame->UpdateCommandUI();
        };
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        closer.start(20);
        filedlg::setAnswerer([](const filedlg::Request&) { return QString(); });
        QSignalSpy handled(frame, &CMainFrame::commandHandled);

        prepare();
        if (!action->isEnabled())
            QSKIP("a key without a handler in this program");
        bool inMenu = false;
        const std::function<void(const QList<QAction*>&)> find = [&](const QList<QAction*>& actions) {
            for (QAction* a : actions) {
                inMenu = inMenu || a == action;
                if (a->menu())
                    find(a->menu()->actions());
            }
        };
        find(frame->menuBar()->actions());
        if (inMenu) {
            action->trigger();
            QCOMPARE(handled.count(), 1);
            QCOMPARE(handled.last().at(0).toInt(), id);
        }
        for (const res::Accelerator& acc : res::mainAccelerators()) {
            if (acc.id != id)
                continue;
            prepare();
            const int before = handled.count();
            QTest::keySequence(frame->view(), QKeySequence(acc.key));
            QCOMPARE(handled.count(), before + 1);
            QCOMPARE(handled.last().at(0).toInt(), id);
            // The same key from another part of the frame.
            if (id != ID_EDIT_COPY && id != ID_EDIT_CUT && id != ID_EDIT_PASTE && id != ID_EDIT_UNDO) {
                prepare();
                QTest::keySequence(frame->menuBar(), QKeySequence(acc.key));
                QCOMPARE(handled.count(), before + 2);
            }
        }
        frame->view()->m_snippetLibraryDlg->hide();
    }

    void aboutOpensFromMenuAndToolbarAndCloses_data()
    {
        QTest::addColumn<bool>("toolbar");
        QTest::addColumn<int>("how");  // 0 OK, 1 Enter, 2 Escape
        for (int how = 0; how < 3; ++how) {
            QTest::newRow(qPrintable(QStringLiteral("menu %1").arg(how))) << false << how;
            QTest::newRow(qPrintable(QStringLiteral("toolbar %1").arg(how))) << true << how;
        }
    }
    void aboutOpensFromMenuAndToolbarAndCloses()
    {
        QFETCH(bool, toolbar);
        QFETCH(int, how);
        bool seen = false;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            seen = dlg->inherits("CAboutDlg");
            modal = dlg->isModal() && dlg->parentWidget() == frame;
            if (how == 0)
                dlg->findChild<QPushButton*>(QStringLiteral("ctl_1"))->click();
            else
                QTest::keyClick(dlg, how == 1 ? Qt::Key_Return : Qt::Key_Escape);
        });
        if (toolbar) {
            auto* button = qobject_cast<QToolButton*>(frame->toolBar()->widgetForAction(frame->action(ID_APP_ABOUT)));
            QVERIFY(button);
            button->click();
        } else {
            frame->action(ID_APP_ABOUT)->trigger();
        }
        QVERIFY(seen);
        QVERIFY(modal);
        QVERIFY(!QApplication::activeModalWidget());
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
        const QStringList expected = {"New",
                                      "Open",
                                      "Save",
                                      "|",
                                      "Find",
                                      "Regenerate syntax highlighting",
                                      "|",
                                      "Cut",
                                      "Copy",
                                      "Paste",
                                      "|",
                                      "Show Code Snippet Library",
                                      "Add selected code to Library",
                                      "|",
                                      "Launch script in Independence War",
                                      "|",
                                      "About"};
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
        const std::pair<int, QWidget*> bars[] = {{ID_VIEW_TOOLBAR, frame->toolBar()},
                                                 {ID_VIEW_STATUS_BAR, frame->statusBar()}};
        for (const auto& [id, bar] : bars) {
            for (bool shown : {false, true}) {
                frame->action(id)->trigger();
                QCOMPARE(bar->isVisible(), shown);
                QCOMPARE(frame->action(id)->isChecked(), shown);
            }
        }
    }

    void statusBarShowsReadyAndPrompts()
    {
        QCOMPARE(frame->messagePane()->text(), QStringLiteral("Ready"));
        frame->action(ID_LAUNCH_SCRIPT)->showStatusText(frame->toolBar());
        QCOMPARE(frame->statusBar()->currentMessage(),
                 QStringLiteral("Launches the current script in Independence War using the chosen settings"));
        for (int id : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL})
            QVERIFY(frame->findChild<QLabel*>(QStringLiteral("pane_%1").arg(id)));
        // A line number wider than the pane's sizing text still shows in full.
        frame->m_currentLine = 1234567;
        frame->OnUpdateLinePane();
        QCOMPARE(frame->linePane()->text(), QStringLiteral("Line 1234567"));
    }

    void captionFollowsTheDocument()
    {
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled - Vantrel"));
        QVERIFY(
            frame->document()->OnOpenDocument(writeFile(dir.filePath(QStringLiteral("attack run.iws")), {}), nullptr));
        QCOMPARE(frame->windowTitle(), QStringLiteral("attack run.iws - Vantrel"));
    }

    void helpOpensThePageBesideTheProgram()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        frame->action(ID_APP_HELP)->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls[0].toLocalFile(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/VantrelHelp.html"));
        QVERIFY(rec.boxes.isEmpty());  // no message even when the page is missing
    }

    void exportAsHtmlWritesTheColouredPage()
    {
        const QString script = writeFile(dir.filePath(QStringLiteral("mission.iws")), "END ; <done> & \"quoted\"\r\n");
        QVERIFY(frame->document()->OnOpenDocument(script, nullptr));
        QString proposed;
        filedlg::setAnswerer([&](const filedlg::Request& r) {
            proposed = r.proposed;
            return dir.filePath(QStringLiteral("page.html"));
        });
        frame->action(ID_FILE_EXPORT_HTML)->trigger();
        QCOMPARE(proposed, dir.filePath(QStringLiteral("mission.html")));
        const QString html = QString::fromUtf8(readFile(dir.filePath(QStringLiteral("page.html"))));
        QVERIFY(html.contains(QLatin1String("<span style=\"color:#0080ff\">END</span>")));
        QVERIFY(html.contains(QLatin1String("&lt;done&gt; &amp; &quot;quoted&quot;")));
        QVERIFY(html.contains(QLatin1String("charset=\"utf-8\"")));
    }
};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
