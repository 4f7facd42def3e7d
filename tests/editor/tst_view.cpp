// The editor view as a user drives it: typing, moving the caret, the edit
// commands and their enabling, paste and undo colouring.
#include "common/Helpers.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"
#include "snippets/BasicTemplate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <memory>

using namespace ids;

namespace {

constexpr ColourRef kCommands = 0x00FF8000;
constexpr ColourRef kKeywords = 0x00C86464;
constexpr ColourRef kStrings = 0x003060C0;
constexpr ColourRef kComments = 0x00649664;
constexpr ColourRef kRegular = 0x00000000;

}  // namespace

class TestView : public QObject {
    Q_OBJECT
    TestEnv env;
    CMainFrame* frame = nullptr;
    CVantrelView* view = nullptr;

    void setText(const QString& text)
    {
        frame->document()->OnNewDocument();
        view->setPlainText(text);
        view->document()->clearUndoRedoStacks();
        view->document()->setModified(false);
        view->OnInitialUpdate();
    }
    void moveTo(qsizetype pos)
    {
        QTextCursor c = view->textCursor();
        c.setPosition(int(pos));
        view->setTextCursor(c);
    }
    qsizetype posOf(const QString& what) const { return view->rawText().indexOf(what); }
    bool enabled(int id)
    {
        frame->UpdateCommandUI();
        return frame->action(id)->isEnabled();
    }

private slots:
    void init()
    {
        env.resetSettings();
        QGuiApplication::clipboard()->clear();
        frame = new CMainFrame(nullptr);
        view = frame->view();
        frame->show();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
    }
    void cleanup()
    {
        frame->document()->SetModifiedFlag(false);
        delete frame;
        frame = nullptr;
    }

    // The line being edited keeps the colour in force at the caret for
    // several timer ticks; leaving it colours it within one.
    void typedCommandIsColouredWhenTheCaretLeavesTheLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("leave");
        QTest::newRow("Return") << QString() << 0 << "WAIT_TIME 100" << int(Qt::Key_Return);
        QTest::newRow("Up") << "first\nsecond\n" << 6 << "END " << int(Qt::Key_Up);
    }
    void typedCommandIsColouredWhenTheCaretLeavesTheLine()
    {
        QFETCH(QString, text);
        QFETCH(int, at);
        QFETCH(QString, typed);
        QFETCH(int, leave);
        setText(text);
        view->OnTimer();  // the timer has seen line 0
        moveTo(at);
        QTest::keyClicks(view, typed);
        QTest::qWait(450);
        QCOMPARE(view->colourAt(at), kRegular);
        QTest::keyClick(view, Qt::Key(leave));
        QTRY_COMPARE_WITH_TIMEOUT(view->colourAt(at), kCommands, 300);
    }

    void typedTextTakesTheColourAtTheCaretAndKeepsTheRest()
    {
        QTemporaryDir dir;
        QVERIFY(frame->document()->OnOpenDocument(writeFile(dir.filePath("t.iws"), "; note\r\n\tEND\r\n"), nullptr));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_X);  // the first key after opening: regular at a line start
        QCOMPARE(view->rawText(), QStringLiteral("x; note\n\tEND\n"));
        QCOMPARE(view->colourAt(0), kRegular);
        QCOMPARE(view->colourAt(1), kComments);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("END"))), kCommands);
        moveTo(posOf(QStringLiteral("\n")));  // end of the comment line
        QTest::keyClicks(view, QStringLiteral("more"));
        QCOMPARE(view->colourAt(posOf(QStringLiteral("more"))), kComments);
    }

    void statusBarShowsTheCaretLineOneBased()
    {
        QStringList lines;
        for (int i = 0; i < 150; ++i)
            lines << QStringLiteral("line %1").arg(i + 1);
        setText(lines.join(QLatin1Char('\n')));
        QCOMPARE(frame->linePaneText(), QStringLiteral("Line 1"));
        moveTo(posOf(QStringLiteral("line 120")));
        QTRY_COMPARE_WITH_TIMEOUT(frame->linePaneText(), QStringLiteral("Line 120"), 300);
        QTest::keyClick(view, Qt::Key_Down);
        QTRY_COMPARE_WITH_TIMEOUT(frame->linePaneText(), QStringLiteral("Line 121"), 300);
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(frame->linePaneText(), QStringLiteral("Line 1"), 300);
    }

    void editCommandsAreEnabledOnlyWhereTheyCanAct()
    {
        // Cut, Copy, Paste, Undo: empty selection, empty clipboard, nothing to undo.
        const auto state = [this] {
            return QList<bool>{enabled(ID_EDIT_CUT), enabled(ID_EDIT_COPY), enabled(ID_EDIT_PASTE),
                               enabled(ID_EDIT_UNDO)};
        };
        setText(QStringLiteral("abc"));
        QCOMPARE(state(), QList<bool>({false, false, false, false}));
        view->selectAll();
        QCOMPARE(state(), QList<bool>({true, true, false, false}));
        QGuiApplication::clipboard()->setText(QStringLiteral("x"));
        QTest::keyClicks(view, QStringLiteral("z"));
        view->selectAll();
        QCOMPARE(state(), QList<bool>({true, true, true, true}));
        // Focus in another widget, even one with a selection: all four are disabled.
        QLineEdit other(QStringLiteral("text"), frame);
        other.selectAll();
        other.show();
        other.setFocus();
        QTRY_VERIFY(other.hasFocus());
        QCOMPARE(state(), QList<bool>({false, false, false, false}));
    }

    // Rich text on the clipboard or in a drop: only its plain text arrives,
    // every pasted line coloured at once, the caret after it.
    void everyWayToPasteColours_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Ctrl+V") << 0;
        QTest::newRow("Shift+Insert") << 1;
        QTest::newRow("menu command") << 2;
        QTest::newRow("context menu") << 3;
        QTest::newRow("drop") << 4;
    }
    void everyWayToPasteColours()
    {
        QFETCH(int, way);
        setText(QString());
        const auto rich = [] {
            auto* data = new QMimeData;
            data->setHtml(QStringLiteral("<b>WAIT_TIME 5<br>SET x,\"s\" ; note<br>CORVETTE</b>"));
            data->setText(QStringLiteral("WAIT_TIME 5\r\nSET x,\"s\" ; note\nCORVETTE"));
            return data;
        };
        QGuiApplication::clipboard()->setMimeData(rich());
        if (way < 2) {
            QTest::keySequence(
                view, way == 0 ? QKeySequence(Qt::CTRL | Qt::Key_V) : QKeySequence(Qt::SHIFT | Qt::Key_Insert));
        } else if (way == 2) {
            frame->action(ID_EDIT_PASTE)->trigger();
        } else if (way == 3) {
            QTimer::singleShot(0, this, [] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu);
                QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
                QVERIFY(paste && paste->isEnabled());
                paste->trigger();
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    view->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(view->viewport(), &event);
        } else {
            std::unique_ptr<QMimeData> data(rich());
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &drop);
        }
        const QString text = view->rawText();
        QCOMPARE(text, QStringLiteral("WAIT_TIME 5\nSET x,\"s\" ; note\nCORVETTE"));
        QTRY_COMPARE(view->colourAt(0), kCommands);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("SET"))), kCommands);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("s\""))), kStrings);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("note"))), kComments);
        QCOMPARE(view->colourAt(posOf(QStringLiteral("CORVETTE"))), kKeywords);
        QVERIFY(!view->textCursor().hasSelection());
        QCOMPARE(view->textCursor().position(), text.size());
        QVERIFY(!view->textCursor().charFormat().font().bold());
    }

    void undoRestoresTextSelectsItAndColoursIt()
    {
        setText(QStringLiteral("WAIT_TIME 100\nnext"));
        view->selectAll();
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(view->rawText(), QString());
        QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(view->rawText(), QStringLiteral("WAIT_TIME 100\nnext"));
        QCOMPARE(view->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')),
                 QStringLiteral("WAIT_TIME 100\nnext"));
        QCOMPARE(view->colourAt(0), kCommands);
        // Multi-level: two typed edits undo one after the other; Alt+Backspace is Undo too.
        setText(QString());
        QTest::keyClicks(view, QStringLiteral("one"));
        moveTo(0);
        QTest::keyClicks(view, QStringLiteral("two "));
        QTest::keySequence(view, QKeySequence(Qt::ALT | Qt::Key_Backspace));
        QCOMPARE(view->rawText(), QStringLiteral("one"));
        frame->action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(view->rawText(), QString());
    }

    void colouringIsNeverAnUndoStepNorAModification()
    {
        setText(QStringLiteral("END\n; x\n\"s\""));
        view->OnRegenerateHighlights();
        view->HighlightSyntax(LastLine);
        view->selectAll();
        view->HighlightSyntax(Selection);
        QVERIFY(!view->document()->isUndoAvailable());
        QVERIFY(!frame->document()->IsModified());
        QTest::keyClicks(view, QStringLiteral("x"));
        QVERIFY(frame->document()->IsModified());
        view->OnRegenerateHighlights();
        QVERIFY(frame->document()->IsModified());
    }

    void highlightKeepsSelectionAndScrollPosition()
    {
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QStringLiteral("WAIT_TIME %1 ; line").arg(i);
        setText(lines.join(QLatin1Char('\n')));
        QTextCursor c = view->textCursor();
        c.setPosition(int(posOf(QStringLiteral("WAIT_TIME 250"))));
        c.setPosition(int(posOf(QStringLiteral("WAIT_TIME 252"))), QTextCursor::KeepAnchor);
        view->setTextCursor(c);
        view->verticalScrollBar()->setValue(200);
        const int anchor = view->textCursor().anchor();
        const int position = view->textCursor().position();
        view->HighlightSyntax(Document);
        view->HighlightSyntax(Selection);
        view->HighlightSyntax(LastLine);
        QCOMPARE(view->verticalScrollBar()->value(), 200);
        QCOMPARE(view->textCursor().anchor(), anchor);
        QCOMPARE(view->textCursor().position(), position);
    }

    void regenerateUsesANewColourEverywhere()
    {
        setText(QStringLiteral("END\nEND"));
        QCOMPARE(view->colourAt(0), kCommands);
        view->m_colours.m_clrCommands = 0x000000FF;
        QCOMPARE(view->colourAt(4), kCommands);  // nothing coloured again yet
        QTest::keyClick(view, Qt::Key_F5);
        QCOMPARE(view->colourAt(0), ColourRef(0x000000FF));
        QCOMPARE(view->colourAt(4), ColourRef(0x000000FF));
    }

    void coloursReachTheLayoutAndLinesDoNotWrap()
    {
        setText(QStringLiteral("END ; note ") + QString(500, QLatin1Char('x')));
        view->repaint();
        const QTextLayout* layout = view->document()->firstBlock().layout();
        const auto formats = layout->formats();
        QVERIFY(!formats.isEmpty());
        QCOMPARE(formats.first().format.foreground().color(), QColor(0, 128, 255));
        QCOMPARE(formats.last().format.foreground().color(), QColor(100, 150, 100));
        QCOMPARE(layout->lineCount(), 1);
    }

    void colourDialogOffersTheDefaultsAndCancelKeeps_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("accept");
        QTest::newRow("Commands, OK") << int(ID_COLOUR_COMMANDS) << true;
        QTest::newRow("Labels, Cancel") << int(ID_COLOUR_LABELS) << false;
        QTest::newRow("Regular Text, OK") << int(ID_COLOUR_REGULAR_TEXT) << true;
    }
    void colourDialogOffersTheDefaultsAndCancelKeeps()
    {
        QFETCH(int, command);
        QFETCH(bool, accept);
        setText(QStringLiteral("END"));
        // Custom colours left over from elsewhere do not survive the next open.
        QColorDialog::setCustomColor(2, Qt::red);
        const ColourRef before = view->m_colours.field(command);
        QList<QColor> offered;
        QColor initial;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            initial = dlg->currentColor();
            for (int i = 0; i < 6; ++i)
                offered << QColorDialog::customColor(i);
            dlg->setCurrentColor(QColor(1, 2, 3));
            accept ? dlg->accept() : dlg->reject();
        });
        frame->action(command)->trigger();
        QCOMPARE(initial, QColor(int(before & 0xFF), int((before >> 8) & 0xFF), int((before >> 16) & 0xFF)));
        const QList<QColor> defaults = {QColor(0, 0, 0),     QColor(0, 128, 255),   QColor(100, 100, 200),
                                        QColor(192, 96, 48), QColor(100, 150, 100), QColor(128, 128, 64)};
        QCOMPARE(offered, defaults);
        QCOMPARE(view->m_colours.field(command), accept ? ColourRef(0x00030201) : before);
        // Nothing is coloured again by choosing.
        QCOMPARE(view->colourAt(0), kCommands);
    }

    void createBasicScriptReplacesTheTextAfterAsking()
    {
        BoxRecorder rec(mb::IDCANCEL);
        setText(QStringLiteral("my own script"));
        QTest::keyClicks(view, QStringLiteral("x"));
        frame->action(ID_CREATE_BASIC_SCRIPT)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].caption, QStringLiteral("Vantrel"));
        QCOMPARE(rec.boxes[0].flags, 0x31u);
        QCOMPARE(view->rawText(), QStringLiteral("xmy own script"));  // Cancel changes nothing
        QVERIFY(view->document()->isUndoAvailable());

        rec.answer = mb::IDOK;
        frame->action(ID_CREATE_BASIC_SCRIPT)->trigger();
        const QString text = view->rawText();
        QCOMPARE(text, BasicTemplate::text());
        QCOMPARE(view->textCursor().position(), 0);
        QVERIFY(frame->document()->IsModified());
        QVERIFY(!view->document()->isUndoAvailable());  // not undoable
        // Coloured as a whole, also far below the visible part.
        QCOMPARE(view->colourAt(posOf(QStringLiteral("REGLOAD"))), kCommands);
        QCOMPARE(view->colourAt(text.lastIndexOf(QLatin1String("End:"))), ColourRef(0x00408080));
        QCOMPARE(view->colourAt(text.lastIndexOf(QLatin1String("END"))), kCommands);
        QCOMPARE(view->colourAt(text.lastIndexOf(QLatin1String("The end of the script"))), kComments);
    }

    void coloursAreWrittenWhenTheViewGoes()
    {
        view->m_colours.m_clrStrings = 0x00123456;
        delete frame;
        frame = new CMainFrame(nullptr);
        view = frame->view();
        QCOMPARE(view->m_colours.m_clrStrings, ColourRef(0x00123456));
        QCOMPARE(ProfileStore::app().getInt(QStringLiteral("Syntax Colours"), QStringLiteral("Commands"), -1),
                 int(kCommands));
    }
};

QTEST_MAIN(TestView)
#include "tst_view.moc"
