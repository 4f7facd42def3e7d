// Find, Find Next and Replace on the script: whole words as the highlighter
// sees them, wrapping, direction, and Replace All as one undo step.
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "editor/FindReplace.h"
#include "editor/TextSearch.h"
#include "platform/MessageBox.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestFindReplace : public QObject {
    Q_OBJECT
    TestEnv env;
    CMainFrame* frame = nullptr;
    CVantrelView* view = nullptr;
    QList<mb::Box> boxes;

    void setText(const QString& t)
    {
        view->setPlainText(t);
        QTextCursor c = view->textCursor();
        c.setPosition(0);
        view->setTextCursor(c);
    }
    int selStart() const { return view->textCursor().selectionStart(); }

private slots:
    void init()
    {
        boxes.clear();
        mb::setAnswerer([this](const mb::Box& b) {
            boxes.append(b);
            return mb::IDOK;
        });
        frame = new CMainFrame(nullptr);
        view = frame->view();
    }
    void cleanup()
    {
        frame->document()->SetModifiedFlag(false);
        delete frame;
        mb::setAnswerer({});
    }

    void searchRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<int>("found");
        QTest::newRow("plain") << "a WAIT b" << "WAIT" << false << false << 2;
        QTest::newRow("case-insensitive") << "a wait b" << "WAIT" << false << false << 2;
        QTest::newRow("match case") << "a wait WAIT" << "WAIT" << true << false << 7;
        QTest::newRow("whole word skips WAITING") << "WAITING WAIT" << "WAIT" << true << true << 8;
        QTest::newRow("underscore continues a word") << "WAIT_TIME WAIT" << "WAIT" << true << true << 10;
        QTest::newRow("comma ends a word") << "x,WAIT,y" << "WAIT" << true << true << 2;
        QTest::newRow("accented letter continues a word") << "\u00e9WAIT WAIT" << "WAIT" << true << true << 6;
        QTest::newRow("none") << "abc" << "x" << false << false << -1;
    }
    void searchRules()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(int, found);
        FindOptions o;
        o.matchCase = matchCase;
        o.wholeWord = wholeWord;
        QCOMPARE(int(TextSearch::find(text, what, 0, o)), found);
    }

    void findNextWrapsOnceAndRepeatsWithF3()
    {
        setText(QStringLiteral("END one\nEND two\nEND three"));
        FindOptions o;
        o.matchCase = true;
        FindReplace* fr = frame->findReplace();
        QVERIFY(fr->findNext(QStringLiteral("END"), o));
        QCOMPARE(selStart(), 0);
        frame->OnCommand(ids::ID_EDIT_REPEAT);
        QCOMPARE(selStart(), 8);
        frame->OnCommand(ids::ID_EDIT_REPEAT);
        QCOMPARE(selStart(), 16);
        frame->OnCommand(ids::ID_EDIT_REPEAT);  // wraps to the start
        QCOMPARE(selStart(), 0);
        QVERIFY(boxes.isEmpty());
        o.up = true;
        QVERIFY(fr->findNext(QStringLiteral("END"), o));  // up from the first: wraps to the last
        QCOMPARE(selStart(), 16);
    }

    void nothingFoundTellsTheUser()
    {
        setText(QStringLiteral("abc"));
        QVERIFY(!frame->findReplace()->findNext(QStringLiteral("zzz"), FindOptions()));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains(QLatin1String("zzz")));
    }

    void findDialogDrivesTheSearch()
    {
        setText(QStringLiteral("WAITING WAIT"));
        frame->OnCommand(ids::ID_EDIT_FIND);
        FindReplaceDlg* dlg = frame->findReplace()->findDialog();
        QVERIFY(dlg && dlg->isVisible());
        QVERIFY(!dlg->isModal());
        dlg->findEdit()->setText(QStringLiteral("WAIT"));
        dlg->wholeWordBox()->setChecked(true);
        dlg->findNextButton()->click();
        QCOMPARE(selStart(), 8);
    }

    void replaceAllIsOneUndoStepAndSaysHowMany()
    {
        setText(QStringLiteral("SET a\nSET b\nSETUP c\nSET d"));
        FindOptions o;
        o.matchCase = true;
        o.wholeWord = true;
        QCOMPARE(frame->findReplace()->replaceAll(QStringLiteral("SET"), QStringLiteral("VAR"), o), 3);
        QCOMPARE(view->rawText(), QStringLiteral("VAR a\nVAR b\nSETUP c\nVAR d"));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains(QLatin1String("3")));
        view->document()->undo();
        QCOMPARE(view->rawText(), QStringLiteral("SET a\nSET b\nSETUP c\nSET d"));
    }

    void replaceReplacesTheSelectedMatchThenFindsTheNext()
    {
        setText(QStringLiteral("x END y END"));
        FindOptions o;
        FindReplace* fr = frame->findReplace();
        QVERIFY(fr->findNext(QStringLiteral("END"), o));
        QVERIFY(fr->replaceOne(QStringLiteral("END"), QStringLiteral("STOP"), o));
        QCOMPARE(view->rawText(), QStringLiteral("x STOP y END"));
        QCOMPARE(selStart(), 9);
        frame->OnCommand(ids::ID_EDIT_REPLACE);
        FindReplaceDlg* dlg = fr->replaceDialog();
        QVERIFY(dlg && dlg->isVisible() && dlg->replaceEdit() && dlg->replaceAllButton());
    }
};

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
