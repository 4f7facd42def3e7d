// The editor in its window as a user drives it: typing and colouring, the
// edit commands, paste, undo and redo, find and replace, the colour dialog,
// and the document's files.
#include "common/FileSizeLimit.h"
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "editor/FindReplace.h"
#include "editor/OutlinePanel.h"
#include "editor/UsesPanel.h"
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
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

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
        QTest::newRow("menu command") << 1;
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
        } else if (way == 1) {
            frame->action(ID_EDIT_PASTE)->trigger();
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

    // View > Outline: sections with their labels and includes, the hints
    // under Problems; Enter on an entry goes to its line, the caret's entry
    // is bold, the filter narrows by name, and the panel stays as it was left.
    void outlineListsTheScript()
    {
        open("Start:\n;----\n; SETUP\n;----\n#INCLUDE gone.iws\nLoop:\nBRA Loop\n; -- End part ----\nEnd:\n");
        frame->action(ID_VIEW_OUTLINE)->trigger();
        auto* panel = frame->findChild<OutlinePanel*>();
        QVERIFY(panel && panel->isVisible());
        view->updateHints();
        panel->rebuild();
        QTreeWidget* tree = panel->tree();
        const auto texts = [](QTreeWidgetItem* parent) {
            QStringList out;
            for (int i = 0; i < parent->childCount(); ++i)
                out << parent->child(i)->text(0) + (parent->child(i)->isHidden() ? "(hidden)" : "");
            return out;
        };
        QCOMPARE(texts(tree->invisibleRootItem()), QStringList({"Start", "SETUP", "End part", str::kOutlineProblems}));
        QCOMPARE(texts(tree->topLevelItem(1)), QStringList({QString(str::kOutlineInclude).arg("gone.iws"), "Loop"}));
        QCOMPARE(texts(tree->topLevelItem(2)), QStringList{"End"});
        QCOMPARE(tree->topLevelItem(3)->childCount(), 1);

        QTreeWidgetItem* end = tree->topLevelItem(2)->child(0);
        tree->setFocus();
        tree->setCurrentItem(end);
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(view->textCursor().blockNumber(), 8);
        QVERIFY(view->hasFocus());
        QVERIFY(end->font(0).bold());
        moveTo(posOf(QStringLiteral("BRA")));
        QVERIFY(!end->font(0).bold());
        QVERIFY(tree->topLevelItem(1)->child(1)->font(0).bold());  // Loop

        QTest::keyClicks(panel->filterField(), QStringLiteral("LOOP"));  // without regard to case
        QCOMPARE(texts(tree->invisibleRootItem()), QStringList({"Start(hidden)", "SETUP", "End part(hidden)",
                                                                QString(str::kOutlineProblems) + "(hidden)"}));
        QCOMPARE(texts(tree->topLevelItem(1)),
                 QStringList({QString(str::kOutlineInclude).arg("gone.iws") + "(hidden)", "Loop"}));

        frame->close();
        QVERIFY(env.settingsText().contains(QLatin1String("Outline=1")));
    }

    // F2 on a label's name goes to the label, Alt+Left comes back; a word
    // that names no label goes nowhere.
    void goToDefinitionAndBack()
    {
        open("BRA_IF End,TIMER_OUT\nWAIT 1\n  End:\n");
        const qsizetype from = posOf(QStringLiteral("End,")) + 1;
        moveTo(from);
        QTest::keyClick(view, Qt::Key_F2);
        QCOMPARE(view->textCursor().position(), posOf(QStringLiteral("End:")));
        moveTo(posOf(QStringLiteral("WAIT")));
        QTest::keyClick(view, Qt::Key_F2);
        QCOMPARE(view->textCursor().position(), posOf(QStringLiteral("WAIT")));
        QTest::keyClick(view, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(view->textCursor().position(), from);
        QVERIFY(!view->OnEditGoBack());

        // Shift+F2 lists the lines that name the label; Enter goes to one.
        view->appendPlainText(QStringLiteral("; BRA End\nCALL_IF TIMER_OUT,End"));
        moveTo(posOf(QStringLiteral("End:")));
        QTest::keyClick(view, Qt::Key_F2, Qt::ShiftModifier);
        auto* uses = frame->findChild<UsesPanel*>();
        QVERIFY(uses && uses->isVisible() && uses->hasFocus());
        QCOMPARE(uses->count(), 2);  // not the comment
        QCOMPARE(uses->item(1)->text(), QString(str::kUsesLine).arg(6).arg("CALL_IF TIMER_OUT,End"));
        uses->setCurrentRow(1);
        QTest::keyClick(uses, Qt::Key_Return);
        QCOMPARE(view->textCursor().blockNumber(), 5);
        QVERIFY(view->hasFocus());
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
        whenModal([&](QWidget* w) {
            auto* dlg = qobject_cast<QColorDialog*>(w);
            QVERIFY(dlg);
            title = dlg->windowTitle();
            QCOMPARE(QColorDialog::customColor(1), QColor(0, 128, 255));
            QCOMPARE(QColorDialog::customColor(9), QColor(Qt::white));
            dlg->setCurrentColor(QColor(1, 2, 3));
            accept ? dlg->accept() : dlg->reject();
        });
        frame->action(ID_COLOUR_COMMENTS)->trigger();
        QCOMPARE(title, QStringLiteral("Comments Colour"));
        QCOMPARE(view->colourAt(posOf(QStringLiteral("note"))), accept ? ColourRef(0x00030201) : kComments);
        QCOMPARE(view->colourAt(0), kCommands);
        frame.reset();  // the view writes the colours as it goes
        QCOMPARE(ProfileStore::app().getInt(QStringLiteral("Syntax Colours"), QStringLiteral("Comments"), -1),
                 accept ? 0x00030201 : int(kComments));
        QVERIFY(!QFile::exists(env.configHome() + QStringLiteral("/QtProject.conf")));
        init();
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

    // A save that fails leaves the file on disk exactly as it was and says why.
    void failedSaveKeepsTheOldFile()
    {
        open("old text");
        QTest::keyClicks(view, QStringLiteral("new "));
        BoxRecorder boxes;
        {
            FileSizeLimit full(4);
            QVERIFY(full.ok());
            QVERIFY(!doc->DoFileSave());
        }
        view->insertScriptText(QStringLiteral("\u20ac\u0100"));  // the euro sign has a byte, this one none
        QVERIFY(!doc->DoFileSave());
        QCOMPARE(readFile(dir.filePath("t.iws")), QByteArray("old text"));
        QCOMPARE(boxes.boxes.size(), 2);
        QVERIFY(boxes.boxes[1].text.contains(QStringLiteral("line 1")));
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
