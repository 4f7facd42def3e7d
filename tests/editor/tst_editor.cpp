// The editor in its window as a user drives it: typing and colouring, the
// edit commands, paste, undo and redo, find and replace, the colour dialog,
// and the document's files.
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "editor/FindReplace.h"
#include "editor/OutlinePanel.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"
#include "snippets/BasicTemplate.h"

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPaintEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace ids;

namespace {

constexpr ColourRef kRegular = 0x00000000;
constexpr ColourRef kCommands = 0x00FF8000;
constexpr ColourRef kKeywords = 0x00C86464;
constexpr ColourRef kStrings = 0x003060C0;
constexpr ColourRef kComments = 0x00649664;

}  // namespace

class TestEditor : public QObject {
    Q_OBJECT
    TestEnv env;
    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
    CVantrelView* view = nullptr;
    CVantrelDoc* doc = nullptr;

    void open(const QByteArray& bytes, const QString& name = QStringLiteral("t.iws"))
    {
        QString error;
        QVERIFY2(doc->OnOpenDocument(writeFile(dir.filePath(name), bytes), &error), qPrintable(error));
    }
    void moveTo(qsizetype pos)
    {
        QTextCursor c = view->textCursor();
        c.setPosition(int(pos));
        view->setTextCursor(c);
    }
    qsizetype posOf(const QString& what) const { return view->rawText().indexOf(what); }
    QList<bool> editStates() const
    {
        QList<bool> s;
        for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
            s << frame->action(id)->isEnabled();
        return s;
    }

private slots:
    void init()
    {
        env.resetSettings();
        ProfileStore::keepQtSettingsOut();
        QGuiApplication::clipboard()->clear();
        frame = std::make_unique<CMainFrame>();
        view = frame->view();
        doc = frame->document();
        doc->OnNewDocument();
        frame->show();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        view->setFocus();
    }
    void cleanup()
    {
        doc->SetModifiedFlag(false);
        frame.reset();
    }

    // A line is coloured when the caret leaves it; with Colour As You Type
    // also while it is typed.
    void typedLineIsColouredOnLeavingOrAtOnce_data()
    {
        QTest::addColumn<bool>("asYouType");
        QTest::newRow("on leaving") << false;
        QTest::newRow("as you type") << true;
    }
    void typedLineIsColouredOnLeavingOrAtOnce()
    {
        QFETCH(bool, asYouType);
        view->setColourAsYouType(asYouType);
        open("first\nsecond\n");
        moveTo(6);
        QTest::keyClicks(view, QStringLiteral("END ; x"));
        QTest::qWait(450);
        QCOMPARE(view->colourAt(6), asYouType ? kCommands : kRegular);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("; x"))), asYouType ? kComments : kRegular);
        QTest::keyClick(view, Qt::Key_Up);
        QTRY_COMPARE_WITH_TIMEOUT(view->colourAt(6), kCommands, 300);
        QTRY_COMPARE_WITH_TIMEOUT(frame->findChild<QLabel*>("pane_61204")->text(), QStringLiteral("Line 1"), 300);
        // While a selection grows, the pane names the caret's line at once.
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(frame->findChild<QLabel*>("pane_61204")->text(), QStringLiteral("Line 2"));
    }

    // The four states follow the editing control however the Edit menu is
    // opened, and its keys run the commands from the menu.
    void editStatesFollowTheControl()
    {
        open("WAIT_TIME 5");
        QCOMPARE(editStates(), QList<bool>({false, false, false, false}));
        view->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("x"));
        QCOMPARE(editStates(), QList<bool>({false, true, true, true}));
        frame->menuBar()->setFocus();  // as Alt+E leaves it
        QCOMPARE(editStates(), QList<bool>({false, true, true, true}));
        QTest::keyClick(view, Qt::Key_E, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_T);  // Cu&t
        QCOMPARE(view->rawText(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("WAIT_TIME 5"));
        QCOMPARE(editStates(), QList<bool>({true, false, false, true}));
    }

    // Rich text on the clipboard or in a drop: only its plain text arrives,
    // every pasted line coloured at once, the caret after it.
    void everyWayToPasteColours_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Ctrl+V") << 0;
        QTest::newRow("context menu") << 2;
        QTest::newRow("drop") << 3;
        QTest::newRow("snippet insertion") << 4;
    }
    void everyWayToPasteColours()
    {
        QFETCH(int, way);
        const QString plain = QStringLiteral("WAIT_TIME 5\r\nSET x,\"s\" ; note\nCORVETTE");
        const auto rich = [&] {
            auto* data = new QMimeData;
            data->setHtml(QStringLiteral("<b>WAIT_TIME 5<br>SET x</b>"));
            data->setText(plain);
            return data;
        };
        QGuiApplication::clipboard()->setMimeData(rich());
        if (way == 0) {
            QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::Key_V));
        } else if (way == 2) {
            QTimer::singleShot(0, this, [] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                menu->findChild<QAction*>(QStringLiteral("edit-paste"))->trigger();
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    view->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(view->viewport(), &event);
        } else if (way == 3) {
            std::unique_ptr<QMimeData> data(rich());
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &drop);
        } else {
            view->insertScriptText(plain);
        }
        QCOMPARE(view->rawText(), QStringLiteral("WAIT_TIME 5\nSET x,\"s\" ; note\nCORVETTE"));
        QTRY_COMPARE(view->colourAt(0), kCommands);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("s\""))), kStrings);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("note"))), kComments);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("CORVETTE"))), kKeywords);
        QVERIFY(!view->textCursor().hasSelection());
        QCOMPARE(view->textCursor().position(), view->rawText().size());
        view->OnEditUndo();  // one step takes it all back
        QCOMPARE(view->rawText(), QString());
    }

    // Undo and redo, from the menu and from the control's own keys, select
    // and colour what they bring back; the caption marks unsaved changes
    // until saved or undone back to the saved text.
    void undoRedoColourAndTheCaptionMark()
    {
        view->setColourAsYouType(false);  // the colour must come from undo and redo themselves
        open("WAIT_TIME 100\nnext");
        QCOMPARE(frame->windowTitle(), QStringLiteral("t.iws - Vantrel"));
        view->selectAll();
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(frame->windowTitle(), QStringLiteral("t.iws* - Vantrel"));
        QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(view->rawText(), QStringLiteral("WAIT_TIME 100\nnext"));
        QCOMPARE(view->textCursor().selectionEnd() - view->textCursor().selectionStart(), 18);
        QCOMPARE(view->colourAt(0), kCommands);
        QCOMPARE(frame->windowTitle(), QStringLiteral("t.iws - Vantrel"));
        for (const QKeySequence& redo : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::Key_Z)}) {
            QTest::keySequence(view, redo);  // Redo, then Undo again
        }
        QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(view->rawText(), QString());
        // Edit > Redo is there exactly while the control can redo.
        QVERIFY(!frame->action(ID_EDIT_REDO)->isEnabled());
        frame->action(ID_EDIT_UNDO)->trigger();
        QVERIFY(frame->action(ID_EDIT_REDO)->isEnabled());
        frame->action(ID_EDIT_REDO)->trigger();
        QCOMPARE(view->rawText(), QString());
        QVERIFY(!frame->action(ID_EDIT_REDO)->isEnabled());
        moveTo(0);
        QTest::keyClicks(view, QStringLiteral("END"));
        view->OnEditUndo();
        view->OnRegenerateHighlights();  // colouring is no edit
        QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(view->rawText(), QStringLiteral("END"));
        QCOMPARE(view->colourAt(0), kCommands);
        QVERIFY(doc->DoFileSave());
        QCOMPARE(frame->windowTitle(), QStringLiteral("t.iws - Vantrel"));
    }

    // Ctrl+/ comments out the chosen lines, whatever their indent, and a
    // second press brings them back; blank lines stay blank. Each is one
    // undo step, coloured at once.
    void toggleCommentOnTheChosenLines()
    {
        view->setColourAsYouType(false);
        const QString text = QStringLiteral("\tWAIT 1\n\n  ;already\nEND\nnot chosen");
        open(text.toLatin1());
        moveTo(1);
        QTextCursor c = view->textCursor();
        c.setPosition(int(posOf(QStringLiteral("not chosen"))), QTextCursor::KeepAnchor);  // ends at a line start
        view->setTextCursor(c);
        QTest::keyClick(view, Qt::Key_Slash, Qt::ControlModifier);
        const QString commented = QStringLiteral("; \tWAIT 1\n\n;   ;already\n; END\nnot chosen");
        QCOMPARE(view->rawText(), commented);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("END"))), kComments);
        QTest::keyClick(view, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(view->rawText(), text);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("END"))), kCommands);
        view->OnEditUndo();
        QCOMPARE(view->rawText(), commented);
        view->OnEditUndo();
        QCOMPARE(view->rawText(), text);

        // Commented lines with other indents and no blank after ";" come back
        // as they were; the caret's line alone without a selection.
        open("  ;x\n\t; y\n;END");
        view->selectAll();
        frame->action(ID_EDIT_TOGGLE_COMMENT)->trigger();
        QCOMPARE(view->rawText(), QStringLiteral("  x\n\ty\nEND"));
        moveTo(posOf(QStringLiteral("END")) + 1);
        frame->action(ID_EDIT_TOGGLE_COMMENT)->trigger();
        QCOMPARE(view->rawText(), QStringLiteral("  x\n\ty\n; END"));
    }

    // Hints are found a moment after an edit, underlined in red on screen,
    // and told in the status bar while the caret is on their line; Options >
    // Script Hints turns them off. Included files count beside the script.
    void hintsAreUnderlinedAndTold()
    {
        writeFile(dir.filePath(QStringLiteral("Inc.IWS")), "Shared:\n");
        open("#INCLUDE inc.iws\nBRA Shared\nBRA Nowhere\nEnd:\n");
        const auto redPixels = [this] {
            const QImage image = view->viewport()->grab().toImage();
            int red = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    red += image.pixelColor(x, y).red() > 150 && image.pixelColor(x, y).green() < 80;
            return red;
        };
        QTRY_COMPARE(int(view->hints().size()), 1);
        QCOMPARE(view->hints()[0].line, 2);
        QVERIFY(redPixels() > 0);
        QLabel* message = frame->findChild<QLabel*>(QStringLiteral("pane_0"));
        moveTo(posOf(QStringLiteral("Nowhere")));
        QCOMPARE(message->text(), QString(str::kHintNoLabel).arg("Nowhere"));
        moveTo(0);
        QCOMPARE(message->text(), QString(str::kReady));

        // Typing the label in makes the hint go, a moment later.
        moveTo(view->textLength());
        QTest::keyClicks(view, QStringLiteral("Nowhere:"));
        QTRY_COMPARE(int(view->hints().size()), 0);

        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, QStringLiteral("CALL Elsewhere"));
        QTRY_COMPARE(int(view->hints().size()), 1);
        QCOMPARE(message->text(), QString(str::kHintNoLabel).arg("Elsewhere"));
        frame->action(ID_OPTIONS_SCRIPT_HINTS)->trigger();
        QCOMPARE(int(view->hints().size()), 0);
        QCOMPARE(message->text(), QString(str::kReady));
        QCOMPARE(redPixels(), 0);
    }

    // The other occurrences of the caret's word on screen get a background;
    // not those in comments or strings, nor parts of longer words.
    void occurrencesOfTheCaretsWord()
    {
        open("Loop:\nBRA Loop ; Loop\nHUD_STRING \"Loop\"\nLoops Loop\n");
        moveTo(1);
        QTRY_COMPARE(view->extraSelections().size(), 2);
        QCOMPARE(view->extraSelections()[0].cursor.selectionStart(), posOf(QStringLiteral("Loop ;")));
        QCOMPARE(view->extraSelections()[1].cursor.selectionStart(), posOf(QStringLiteral("s Loop")) + 2);
        moveTo(posOf(QStringLiteral("; Loop")) + 3);  // in a comment: none
        QTRY_COMPARE(view->extraSelections().size(), 0);
    }

    // A key press repaints its own line, also right after that line took its
    // colours; a mark across a line reaches the right edge of a widened window.
    void typingRepaintsItsLineAndKeepsColours()
    {
        view->setColourAsYouType(true);
        open(QByteArray("\tWAIT_TIME 100 ; wait\n").repeated(200));
        view->goToLine(50);
        QTest::qWait(50);
        struct PaintSpy : QObject {
            QList<QRect> rects;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint)
                    rects << static_cast<QPaintEvent*>(e)->rect();
                return false;
            }
        } spy;
        view->viewport()->installEventFilter(&spy);
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(view, Qt::Key_A);
            QCoreApplication::sendPostedEvents(frame.get(), QEvent::UpdateRequest);
        }
        view->viewport()->removeEventFilter(&spy);
        QVERIFY(!spy.rects.isEmpty());
        for (const QRect& r : spy.rects)
            QVERIFY2(r.height() <= 2 * view->fontMetrics().height(),
                     qPrintable(QStringLiteral("%1 high").arg(r.height())));

        view->showLine(60);
        frame->resize(frame->width() + 300, frame->height());
        QTest::qWait(50);
        const QImage shown = view->viewport()->grab().toImage();
        const int y = view->cursorRect().center().y();
        QCOMPARE(shown.pixelColor(shown.width() - 3, y), shown.pixelColor(view->cursorRect().right() + 2, y));
        QVERIFY(shown.pixelColor(shown.width() - 3, y) != view->palette().color(QPalette::Base));
    }

    // Replace All is one undo step; what it did not replace keeps its colour,
    // what it put in is coloured; the dialog never covers what Find found.
    void findAndReplace()
    {
        open("WAIT a\n; keep WAIT\n\"s\" WAIT\n");
        BoxRecorder boxes;
        QCOMPARE(frame->findReplace()->replaceAll(QStringLiteral("WAIT"), QStringLiteral("END"), {}), 3);
        QCOMPARE(view->rawText(), QStringLiteral("END a\n; keep END\n\"s\" END\n"));
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(view->colourAt(0), kCommands);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("keep"))), kComments);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("s\""))), kStrings);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("a\n"))), kRegular);
        view->OnEditUndo();
        QCOMPARE(view->rawText(), QStringLiteral("WAIT a\n; keep WAIT\n\"s\" WAIT\n"));

        frame->findReplace()->OnEditFind();
        FindReplaceDlg* dlg = frame->findReplace()->findDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        const QRect line = view->cursorRect(view->textCursor());
        dlg->move(view->viewport()->mapToGlobal(line.topLeft()));
        QVERIFY(frame->findReplace()->findNext(QStringLiteral("a"), {}));
        const QRect found(view->viewport()->mapToGlobal(view->cursorRect().topLeft()), view->cursorRect().size());
        QTRY_VERIFY(!dlg->frameGeometry().intersects(found));
        QVERIFY(!frame->findReplace()->findNext(QStringLiteral("nowhere"), {}));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("Cannot find the string 'nowhere'."));

        // Going on from the top is said in the status bar; a find further down says nothing.
        moveTo(posOf(QStringLiteral("\"s\"")));
        QVERIFY(frame->findReplace()->findNext(QStringLiteral("keep"), {}));
        QCOMPARE(frame->statusBar()->currentMessage(),
                 QStringLiteral("Passed the end of the script; continued from the top."));
        frame->statusBar()->clearMessage();
        QVERIFY(frame->findReplace()->findNext(QStringLiteral(" WAIT"), {}));  // right after the caret
        QCOMPARE(view->textCursor().selectionStart(), posOf(QStringLiteral(" WAIT\n\"")));
        QVERIFY(frame->statusBar()->currentMessage().isEmpty());
    }

    // Find's options: whole words only, case, and upwards from the caret.
    void findHonoursItsOptions()
    {
        open("WAITFOR 1\nwait 2\nWAIT 3\nXWAIT WAIT_X WAIT\n");
        BoxRecorder boxes;
        FindOptions whole;
        whole.wholeWord = true;
        moveTo(0);
        QVERIFY(frame->findReplace()->findNext(QStringLiteral("WAIT"), whole));
        QCOMPARE(view->textCursor().selectionStart(), posOf(QStringLiteral("wait 2")));
        whole.matchCase = true;
        QVERIFY(frame->findReplace()->findNext(QStringLiteral("WAIT"), whole));
        QCOMPARE(view->textCursor().selectionStart(), posOf(QStringLiteral("WAIT 3")));
        QVERIFY(frame->findReplace()->findNext(QStringLiteral("WAIT"), whole));
        QCOMPARE(view->textCursor().selectionStart(), view->rawText().lastIndexOf(QStringLiteral("WAIT")));
        FindOptions up = whole;
        up.up = true;
        QVERIFY(frame->findReplace()->findNext(QStringLiteral("WAIT"), up));
        QCOMPARE(view->textCursor().selectionStart(), posOf(QStringLiteral("WAIT 3")));
        // Up from the first whole word goes round to the last, past the longer words.
        QVERIFY(frame->findReplace()->findNext(QStringLiteral("WAIT"), up));
        QCOMPARE(view->textCursor().selectionStart(), view->rawText().lastIndexOf(QStringLiteral("WAIT")));
        QCOMPARE(boxes.boxes.size(), 0);
        QCOMPARE(frame->findReplace()->replaceAll(QStringLiteral("WAIT"), QStringLiteral("END"), whole), 2);
        QCOMPARE(view->rawText(), QStringLiteral("WAITFOR 1\nwait 2\nEND 3\nXWAIT WAIT_X END\n"));
    }

    // Replace All replaces what Find Next would find, one after another,
    // with Find's Match case and Match whole word.
    void replaceAllFollowsFindsOptions_data()
    {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QString>("expected");
        QTest::newRow("any case, in words") << false << false << "Go Go Going _Go Go2 (Go) aGo";
        QTest::newRow("match case") << true << false << "Wait WAIT Going _WAIT WAIT2 (Go) aWAIT";
        QTest::newRow("whole word") << false << true << "Go Go waiting _WAIT WAIT2 (Go) aWAIT";
    }
    void replaceAllFollowsFindsOptions()
    {
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QString, expected);
        open("Wait WAIT waiting _WAIT WAIT2 (wait) aWAIT");
        BoxRecorder boxes;
        FindOptions opt;
        opt.matchCase = matchCase;
        opt.wholeWord = wholeWord;
        frame->findReplace()->replaceAll(QStringLiteral("wait"), QStringLiteral("Go"), opt);
        QCOMPARE(view->rawText(), expected);
        // Occurrences do not overlap: each search starts after the last one.
        open("aa aaaaa");
        QCOMPARE(frame->findReplace()->replaceAll(QStringLiteral("aa"), QStringLiteral("b"), opt), wholeWord ? 1 : 3);
        QCOMPARE(view->rawText(), wholeWord ? QStringLiteral("b aaaaa") : QStringLiteral("b bba"));
    }

    // Text between the replacements keeps the colours it had, even where a
    // highlight would now give others; what comes in is coloured, shorter or
    // longer than what it replaces; one Undo takes it all back.
    void replaceAllKeepsTheColoursBetween_data()
    {
        QTest::addColumn<QString>("with");
        QTest::addColumn<bool>("asYouType");
        QTest::newRow("longer") << "WAIT_TIME" << false;
        QTest::newRow("longer, colour as you type") << "WAIT_TIME" << true;
    }
    void replaceAllKeepsTheColoursBetween()
    {
        QFETCH(QString, with);
        QFETCH(bool, asYouType);
        view->setColourAsYouType(false);
        const QString before = QStringLiteral("WAIT a ; WAIT\nx WAITWAIT WAIT\n\"WAIT s\" end\n\n");
        open(before.toLatin1());
        moveTo(before.size());
        QTest::keyClicks(view, QStringLiteral("CORVETTE"));  // not yet coloured
        QCOMPARE(view->colourAt(view->textLength() - 1), kRegular);
        view->setColourAsYouType(asYouType);
        BoxRecorder boxes;
        QCOMPARE(frame->findReplace()->replaceAll(QStringLiteral("WAIT"), with, {}), 6);
        QString after = before + QStringLiteral("CORVETTE");
        after.replace(QStringLiteral("WAIT"), with);
        QCOMPARE(view->rawText(), after);
        QCOMPARE(view->colourAt(0), kCommands);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("a ;"))), kRegular);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("; "))), kComments);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("s\" end"))), kStrings);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("end"))), kRegular);
        QCOMPARE(view->colourAt(view->textLength() - 1), kRegular);
        QCOMPARE(boxes.boxes.size(), 1);
        view->OnEditUndo();
        QCOMPARE(view->rawText(), before + QStringLiteral("CORVETTE"));
        view->OnEditUndo();
        QCOMPARE(view->rawText(), before);
    }

    // A long Replace All shows its progress; Cancel leaves the text, the
    // undo history and the modified flag as they were, and says nothing.
    void replaceAllCanBeCancelled()
    {
        QByteArray text;
        for (int line = 0; line < 3000; ++line)
            text += "x" + QByteArray(" ab").repeated(100) + "\n";
        open(text);
        BoxRecorder boxes;
        auto cancelled = std::make_shared<bool>(false);
        whenModal(
            [cancelled](QWidget* modal) {
                if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
                    QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                    *cancelled = true;
                }
            },
            20000);
        QCOMPARE(frame->findReplace()->replaceAll(QStringLiteral("ab"), QStringLiteral("abc"), {}), 0);
        QVERIFY(*cancelled);
        QCOMPARE(view->rawText(), QString::fromLatin1(text));
        QVERIFY(!view->document()->isUndoAvailable() && !view->document()->isRedoAvailable());
        QVERIFY(!doc->IsModified());
        QVERIFY(boxes.boxes.isEmpty());
    }

    // The outline: sections with the labels under them, then the includes;
    // choosing an entry moves the caret there, the caret's entry is marked as
    // it moves, the filter narrows the list, and edits reach the list.
    void outlineFollowsTheScript()
    {
        open(
            "Top:\n; -- Models ----\nStart:\nBRA End\n;----\n; CREATE UNIVERSE\n;----\n#INCLUDE ships.shp\n"
            "End:\n; End: is no label here\nPatrol:\n");
        auto* panel = frame->findChild<OutlinePanel*>();
        QVERIFY(panel && panel->isHidden());
        frame->action(ID_VIEW_OUTLINE)->trigger();
        QTreeWidget* tree = panel->tree();
        const auto listing = [tree] {
            QStringList out;
            for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NotHidden); *it; ++it)
                out << QString((*it)->parent() ? "  " : "") + (*it)->text(0);
            return out;
        };
        QCOMPARE(listing(), (QStringList{"Top", "Models", "  Start", "CREATE UNIVERSE", "  End", "  Patrol", "Includes",
                                         "  ships.shp"}));

        QTreeWidgetItem* patrol = tree->findItems("Patrol", Qt::MatchRecursive).value(0);
        QTRY_VERIFY(tree->viewport()->width() > 100);  // shown beside the script, not squeezed out
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(patrol).center());
        QCOMPARE(view->textCursor().blockNumber(), 10);
        QVERIFY(view->hasFocus());

        // The caret on the BRA line marks the label above it.
        moveTo(posOf("BRA"));
        QTRY_COMPARE(tree->currentItem()->text(0), QStringLiteral("Start"));

        QTest::keyClicks(panel->findChild<QLineEdit*>(), "pat");
        QCOMPARE(listing(), (QStringList{"CREATE UNIVERSE", "  Patrol"}));
        QTest::keyClick(panel->findChild<QLineEdit*>(), Qt::Key_Return);
        QVERIFY(tree->hasFocus());
        tree->setCurrentItem(tree->findItems("Patrol", Qt::MatchRecursive).value(0));
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(view->textCursor().blockNumber(), 10);
        panel->findChild<QLineEdit*>()->clear();

        // A label typed into the script joins the list.
        moveTo(0);
        QTest::keyClicks(view, "Fresh:");
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(listing().contains("Fresh"));
    }

    // The dialog offers the six built-in colours, names the class, keeps
    // nothing outside the program's settings; OK colours the text at once.
    void colourDialog_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void colourDialog()
    {
        QFETCH(bool, accept);
        open("WAIT_TIME 1\n; note");
        QColorDialog::setCustomColor(9, Qt::red);
        QString title;
        QColor openedOn;
        whenModal([&](QWidget* w) {
            auto* dlg = qobject_cast<QColorDialog*>(w);
            QVERIFY(dlg);
            title = dlg->windowTitle();
            openedOn = dlg->currentColor();
            QCOMPARE(QColorDialog::customColor(1), QColor(0, 128, 255));
            QCOMPARE(QColorDialog::customColor(9), QColor(Qt::white));
            dlg->setCurrentColor(QColor(1, 2, 3));
            accept ? dlg->accept() : dlg->reject();
        });
        frame->action(ID_COLOUR_COMMENTS)->trigger();
        QCOMPARE(title, QStringLiteral("Comments Colour"));
        QCOMPARE(view->colourAt(posOf(QStringLiteral("note"))), accept ? ColourRef(0x00030201) : kComments);
        QCOMPARE(view->colourAt(0), kCommands);
        QCOMPARE(openedOn, QColor(0x64, 0x96, 0x64));
        // Stored at OK, for an export or another editor started now.
        QCOMPARE(
            ProfileStore(env.settingsFile()).getInt(QStringLiteral("Syntax Colours"), QStringLiteral("Comments"), -1),
            accept ? 0x00030201 : -1);
        // The next time the dialog starts from the colour in use.
        whenModal([&](QWidget* w) {
            openedOn = qobject_cast<QColorDialog*>(w)->currentColor();
            qobject_cast<QDialog*>(w)->reject();
        });
        frame->action(ID_COLOUR_COMMENTS)->trigger();
        QCOMPARE(openedOn, accept ? QColor(1, 2, 3) : QColor(0x64, 0x96, 0x64));
        frame.reset();
        QVERIFY(!QFile::exists(env.configHome() + QStringLiteral("/QtProject.conf")));
        init();
    }

    // Closing this editor leaves alone what another editor stored meanwhile:
    // only what the user changed here is written.
    void anotherEditorsSettingsSurviveClosing()
    {
        const auto choose = [this](int command, QColor colour) {
            whenModal([colour](QWidget* w) {
                qobject_cast<QColorDialog*>(w)->setCurrentColor(colour);
                qobject_cast<QDialog*>(w)->accept();
            });
            frame->action(command)->trigger();
        };
        ProfileStore theirs(env.settingsFile());
        const QString colours = QStringLiteral("Syntax Colours");
        const QString editor = QStringLiteral("Editor");
        choose(ID_COLOUR_STRINGS, QColor(1, 2, 3));
        frame->action(ID_OPTIONS_AUTO_INDENT)->toggle();
        QVERIFY(theirs.writeInt(colours, QStringLiteral("Comments"), 0x0A0B0C));
        QVERIFY(theirs.writeInt(colours, QStringLiteral("Strings"), 0x0D0E0F));  // chosen there after ours
        QVERIFY(theirs.writeInt(editor, QStringLiteral("Line Numbers"), 0));
        QVERIFY(frame->close());
        QCOMPARE(theirs.getInt(colours, QStringLiteral("Comments"), -1), 0x0A0B0C);
        QCOMPARE(theirs.getInt(colours, QStringLiteral("Strings"), -1), 0x0D0E0F);
        QCOMPARE(theirs.getInt(colours, QStringLiteral("Keywords"), -1), -1);
        QCOMPARE(theirs.getInt(editor, QStringLiteral("Line Numbers"), -1), 0);
        QCOMPARE(theirs.getInt(editor, QStringLiteral("Auto Indent"), -1), 0);

        // A settings file that cannot be written: told once per kind of
        // setting, with its path and the reason; the choice stays in effect.
        cleanup();
        init();
        open("WAIT_TIME 1\n; note");
        QVERIFY(QDir().mkpath(env.settingsFile()));
        BoxRecorder boxes;
        choose(ID_COLOUR_COMMENTS, QColor(1, 2, 3));
        choose(ID_COLOUR_COMMENTS, QColor(4, 5, 6));
        frame->action(ID_OPTIONS_AUTO_INDENT)->toggle();
        QVERIFY(frame->close());
        QVERIFY(QDir().rmdir(env.settingsFile()));
        QCOMPARE(boxes.boxes.size(), 2);  // the colours, then the switches
        for (const mb::Box& box : boxes.boxes) {
            QVERIFY2(box.text.contains(env.settingsFile()) && box.text.contains(QString(std::strerror(EISDIR))),
                     qPrintable(box.text));
        }
        QCOMPARE(view->colourAt(posOf(QStringLiteral("note"))), ColourRef(0x00060504));
    }

    void createBasicScriptReplacesTheTextAfterAsking()
    {
        open("mine");
        for (int answer : {mb::IDCANCEL, mb::IDOK}) {
            BoxRecorder boxes(answer);
            frame->action(ID_CREATE_BASIC_SCRIPT)->trigger();
            QCOMPARE(boxes.boxes.size(), 1);
        }
        QCOMPARE(view->rawText(), BasicTemplate::text());
        QVERIFY(doc->IsModified());
        QCOMPARE(view->textCursor().position(), 0);
        QCOMPARE(view->colourAt(1), kComments);
    }

    // Every byte but the line ends comes back as it was; line ends load as
    // breaks and are saved as CR LF.
    void bytesAndLineEndsRoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                all += char(b);
        }
        open(all + "\r\nb\nc\rd\r\r\n");
        QCOMPARE(view->document()->blockCount(), 6);
        QVERIFY(doc->DoFileSave());
        QCOMPARE(readFile(dir.filePath("t.iws")), all + "\r\nb\r\nc\r\nd\r\n\r\n");
    }

    // A save that fails leaves the file on disk exactly as it was and says
    // why; a full disk is tried from the window, in the shell's tests.
    void failedSaveKeepsTheOldFile()
    {
        open("old text");
        QTest::keyClicks(view, QStringLiteral("new "));
        BoxRecorder boxes;
        view->insertScriptText(QStringLiteral("\u20ac\u0100"));  // the euro sign has a byte, this one none
        QVERIFY(!doc->DoFileSave());
        QCOMPARE(readFile(dir.filePath("t.iws")), QByteArray("old text"));
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY(boxes.boxes[0].text.contains(QStringLiteral("line 1")));
        QVERIFY(doc->IsModified());
    }

    void newAsksToSaveAModifiedDocument_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("Yes saves") << int(mb::IDYES) << QByteArray("edited");
        QTest::newRow("No discards") << int(mb::IDNO) << QByteArray("original");
        QTest::newRow("Cancel keeps") << int(mb::IDCANCEL) << QByteArray("original");
    }
    void newAsksToSaveAModifiedDocument()
    {
        QFETCH(int, answer);
        QFETCH(QByteArray, onDisk);
        open("original");
        view->selectAll();
        QTest::keyClicks(view, QStringLiteral("edited"));
        BoxRecorder boxes(answer);
        const bool proceed = doc->SaveModified();
        QCOMPARE(boxes.boxes.value(0).text, QStringLiteral("Save changes to t.iws?"));
        QCOMPARE(proceed, answer != mb::IDCANCEL);
        QCOMPARE(readFile(dir.filePath("t.iws")), onDisk);
    }

    // Files that are no script: a line too long to edit opens read-only and
    // is never written back; an unreadable file leaves the document alone.
    void filesThatAreNoScript()
    {
        open("keep");
        BoxRecorder boxes;
        QString error;
        QVERIFY(!doc->OnOpenDocument(dir.filePath("missing.iws"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(view->rawText(), QStringLiteral("keep"));
        QCOMPARE(boxes.boxes.size(), 0);

        const QByteArray longLine = QByteArray(100001, 'x') + "\r\n";
        open(longLine, QStringLiteral("long.iws"));
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY(view->isReadOnly() && doc->isReadOnly());
        QCOMPARE(view->rawText(), QString(100000, QLatin1Char('x')) + QLatin1Char('\n'));  // shown cut
        QTest::keyClicks(view, QStringLiteral("typed"));
        QVERIFY(!doc->IsModified());
        QVERIFY(!doc->DoSave(QString()));
        QCOMPARE(readFile(dir.filePath("long.iws")), longLine);
        doc->OnNewDocument();
        QVERIFY(!view->isReadOnly());
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
