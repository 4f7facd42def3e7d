// Find, Find Next and Replace on the script: whole words as the highlighter
// sees them, wrapping, direction, and Replace All as one undo step.
#include "common/Helpers.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "editor/FindReplace.h"
#include "editor/TextSearch.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestFindReplace : public QObject {
    Q_OBJECT
    TestEnv env;
    BoxRecorder rec;
    CMainFrame* frame = nullptr;
    CVantrelView* view = nullptr;

    FindReplace* setText(const QString& t)
    {
        view->setPlainText(t);
        view->moveCursor(QTextCursor::Start);
        return frame->findReplace();
    }
    int selStart() const { return view->textCursor().selectionStart(); }

private slots:
    void init()
    {
        rec.boxes.clear();
        frame = new CMainFrame(nullptr);
        view = frame->view();
    }
    void cleanup()
    {
        frame->document()->SetModifiedFlag(false);
        delete frame;
    }

    void searchRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<int>("found");
        QTest::newRow("plain") << "a WAIT b"
                               << "WAIT" << false << false << 2;
        QTest::newRow("case-insensitive") << "a wait b"
                                          << "WAIT" << false << false << 2;
        QTest::newRow("match case") << "a wait WAIT"
                                    << "WAIT" << true << false << 7;
        QTest::newRow("whole word skips WAITING") << "WAITING WAIT"
                                                  << "WAIT" << true << true << 8;
        QTest::newRow("underscore continues a word") << "WAIT_TIME WAIT"
                                                     << "WAIT" << true << true << 10;
        QTest::newRow("comma ends a word") << "x,WAIT,y"
                                           << "WAIT" << true << true << 2;
        QTest::newRow("accented letter continues a word") << "\u00e9WAIT WAIT"
                                                          << "WAIT" << true << true << 6;
        QTest::newRow("none") << "abc"
                              << "x" << false << false << -1;
    }
    void searchRules()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(int, found);
        QCOMPARE(int(TextSearch::find(text, what, 0, FindOptions{matchCase, wholeWord, false})), found);
    }

    void findNextWrapsOnceRepeatsWithF3AndSaysWhenNothingIsFound()
    {
        FindReplace* fr = setText(QStringLiteral("END one\nEND two\nEND three"));
        QVERIFY(fr->findNext(QStringLiteral("END"), FindOptions{.matchCase = true}));
        QCOMPARE(selStart(), 0);
        for (int expected : {8, 16, 0}) {  // the last one wraps to the start
            frame->OnCommand(ids::ID_EDIT_REPEAT);
            QCOMPARE(selStart(), expected);
        }
        QVERIFY(rec.boxes.isEmpty());
        QVERIFY(fr->findNext(QStringLiteral("END"), FindOptions{.matchCase = true, .up = true}));
        QCOMPARE(selStart(), 16);  // up from the first: wraps to the last

        QVERIFY(!fr->findNext(QStringLiteral("zzz"), FindOptions()));
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(rec.boxes[0].text.contains(QLatin1String("zzz")));
    }

    void findDialogDrivesTheSearch()
    {
        setText(QStringLiteral("WAITING WAIT"));
        frame->OnCommand(ids::ID_EDIT_FIND);
        FindReplaceDlg* dlg = frame->findReplace()->findDialog();
        QVERIFY(dlg && dlg->isVisible() && !dlg->isModal());
        dlg->findEdit()->setText(QStringLiteral("WAIT"));
        dlg->wholeWordBox()->setChecked(true);
        dlg->findNextButton()->click();
        QCOMPARE(selStart(), 8);
    }

    void replaceAllIsOneUndoStepAndSaysHowMany()
    {
        const QString before = QStringLiteral("SET a\nSET b\nSETUP c\nSET d");
        FindReplace* fr = setText(before);
        QCOMPARE(fr->replaceAll(QStringLiteral("SET"), QStringLiteral("VAR"), FindOptions{true, true, false}), 3);
        QCOMPARE(view->rawText(), QStringLiteral("VAR a\nVAR b\nSETUP c\nVAR d"));
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(rec.boxes[0].text.contains(QLatin1String("3")));
        view->document()->undo();
        QCOMPARE(view->rawText(), before);
    }

    void replaceReplacesTheSelectedMatchThenFindsTheNext()
    {
        FindReplace* fr = setText(QStringLiteral("x END y END"));
        QVERIFY(fr->findNext(QStringLiteral("END"), FindOptions()));
        QVERIFY(fr->replaceOne(QStringLiteral("END"), QStringLiteral("STOP"), FindOptions()));
        QCOMPARE(view->rawText(), QStringLiteral("x STOP y END"));
        QCOMPARE(selStart(), 9);
        frame->OnCommand(ids::ID_EDIT_REPLACE);
        FindReplaceDlg* dlg = fr->replaceDialog();
        QVERIFY(dlg && dlg->isVisible() && dlg->replaceEdit() && dlg->replaceAllButton());
    }
};

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
