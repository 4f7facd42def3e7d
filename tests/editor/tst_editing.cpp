// The editing basics as the user meets them: Go To Line, auto-indent, word
// completion, the line-number gutter, and the debug output panel on real
// files that change under it.
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "editor/EditorSettings.h"
#include "editor/GoToLineDlg.h"
#include "editor/ScriptEditControl.h"
#include "launch/DebugPanel.h"
#include "launch/LaunchSettings.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <sys/stat.h>

#include <cstdio>
#include <memory>

class TestEditing : public QObject {
    Q_OBJECT
    TestEnv env;
    std::unique_ptr<ScriptEditControl> edit;

    void setText(const QString& text, qsizetype caret = -1)
    {
        edit->setPlainText(text);
        edit->document()->clearUndoRedoStacks();
        QTextCursor c = edit->textCursor();
        c.setPosition(int(caret < 0 ? edit->textLength() : caret));
        edit->setTextCursor(c);
    }
    QAbstractItemView* popup() const { return edit->findChild<QCompleter*>()->popup(); }
    int margin() const { return edit->viewport()->x() - edit->contentsRect().left(); }

private slots:
    void init()
    {
        env.resetSettings();
        edit = std::make_unique<ScriptEditControl>();
        edit->resize(500, 300);
        edit->show();
        QVERIFY(QTest::qWaitForWindowActive(edit.get()));
        edit->setFocus();
    }
    void cleanup() { edit.reset(); }

    void goToLineOffersTheLinesAndMovesTheCaretIntoView()
    {
        QString text;
        for (int i = 1; i <= 500; ++i)
            text += QStringLiteral("line %1\n").arg(i);
        setText(text.chopped(1), text.indexOf(QLatin1String("line 42\n")) + 3);
        whenModal([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString(str::kGoToLineCaption));
            auto* spin = w->findChild<QSpinBox*>();
            QCOMPARE(spin->minimum(), 1);
            QCOMPARE(spin->maximum(), 500);
            QVERIFY(w->findChild<QLabel*>()->text().contains(QLatin1String("1 - 500")));
            QCOMPARE(spin->value(), 42);  // the caret's line, typed over
            QTest::keyClicks(spin, QStringLiteral("321"));
            QTest::keyClick(spin, Qt::Key_Return);
        });
        QVERIFY(GoToLineDlg::run(edit.get()));
        QCOMPARE(edit->textCursor().position(), edit->lineIndex(320));
        QVERIFY(edit->viewport()->rect().contains(edit->cursorRect()));

        // Escape leaves the caret where it was.
        whenModal([](QWidget* w) {
            QTest::keyClicks(w->findChild<QSpinBox*>(), QStringLiteral("7"));
            QTest::keyClick(w->findChild<QSpinBox*>(), Qt::Key_Escape);
        });
        QVERIFY(!GoToLineDlg::run(edit.get()));
        QCOMPARE(edit->textCursor().position(), edit->lineIndex(320));

        // Numbers outside the script land on its first or last line.
        edit->goToLine(0);
        QCOMPARE(edit->textCursor().position(), 0);
        edit->goToLine(9999);
        QCOMPARE(edit->textCursor().position(), edit->lineIndex(499));
    }

    void returnCopiesTheIndentOfTheLineItSplits_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("after");
        QTest::newRow("tabs and blanks") << true << "\t  WAIT 1" << 9 << "\t  WAIT 1\n\t  ";
        QTest::newRow("mid-line") << true << "END\n  \tA B" << 8 << "END\n  \tA\n  \t B";
        QTest::newRow("inside the indent") << true << "\t\tX" << 1 << "\t\n\t\tX";
        QTest::newRow("no indent") << true << "X" << 1 << "X\n";
        QTest::newRow("option off") << false << "\tX" << 2 << "\tX\n";
    }
    void returnCopiesTheIndentOfTheLineItSplits()
    {
        QFETCH(bool, on);
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, after);
        edit->setAutoIndent(on);
        setText(text, caret);
        QTest::keyClick(edit.get(), Qt::Key_Return);
        QCOMPARE(edit->rawText(), after);
        // The caret follows the indent on the new line.
        QCOMPARE(edit->textCursor().position(), after.size() - (text.size() - caret));
        edit->undo();
        QCOMPARE(edit->rawText(), text);
    }

    void ctrlSpaceCompletesTheWordBeforeTheCaret()
    {
        // One candidate: in the word list's spelling, at once.
        setText(QStringLiteral("\twait_ti"));
        QTest::keyClick(edit.get(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(edit->rawText(), QStringLiteral("\tWAIT_TIME"));
        // A word of the script in its own spelling; not the word being typed.
        setText(QStringLiteral("Zebra_Run:\n\tBRA zeb\n"), 19);
        QTest::keyClick(edit.get(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(edit->rawText(), QStringLiteral("Zebra_Run:\n\tBRA Zebra_Run\n"));

        // Several: a list at the caret; Escape closes it and changes nothing.
        setText(QStringLiteral("WAIT_U"));
        QTest::keyClick(edit.get(), Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY(popup()->isVisible());
        QCOMPARE(popup()->model()->rowCount(), 2);
        QTest::keyClick(popup(), Qt::Key_Escape);
        QTRY_VERIFY(!popup()->isVisible());
        QCOMPARE(edit->rawText(), QStringLiteral("WAIT_U"));

        // Return or Tab takes the selected word; typing narrows the list.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
            setText(QStringLiteral("Wait_"));
            QTest::keyClick(edit.get(), Qt::Key_Space, Qt::ControlModifier);
            QTRY_VERIFY(popup()->isVisible());
            QTest::keyClicks(popup(), QStringLiteral("u"));
            QTRY_COMPARE(popup()->model()->rowCount(), 2);
            QTest::keyClick(popup(), Qt::Key_Down);
            QTest::keyClick(popup(), key);
            QTRY_VERIFY(!popup()->isVisible());
            QCOMPARE(edit->rawText(), QStringLiteral("WAIT_UNTIL_NOT"));
        }
    }

    void gutterTakesItsWidthFromTheViewport()
    {
        setText(QStringLiteral("one\ntwo"));
        edit->setDefaultColour(0x000000FF);  // red
        const int narrow = margin();
        QVERIFY(narrow > 0);
        // The numbers in the default colour, on a background darker than the text's.
        QWidget* strip = edit->findChild<QWidget*>(QStringLiteral("lineNumbers"));
        QCOMPARE(strip->geometry().right() + 1, edit->viewport()->x());  // beside the text, not over it
        const QImage gutter = strip->grab().toImage();
        QVERIFY(gutter.pixelColor(1, 1).lightness() < edit->palette().color(QPalette::Base).lightness());
        bool red = false;  // somewhere in the first line's "1"
        for (int y = 0; y < edit->fontMetrics().height(); ++y) {
            for (int x = 0; x < gutter.width(); ++x)
                red = red || (qRed(gutter.pixel(x, y)) > 200 && qGreen(gutter.pixel(x, y)) < 80);
        }
        QVERIFY(red);

        setText(QString(QStringLiteral("x\n")).repeated(20000));  // five digits
        QVERIFY(margin() > narrow);
        edit->setLineNumbersVisible(false);
        QCOMPARE(margin(), 0);
        edit->setLineNumbersVisible(true);
        QVERIFY(margin() > narrow);
    }

    void debugPanelFollowsTheFileOnDisk()
    {
        QTemporaryDir dir;
        DebugPanel panel;
        panel.show();
        auto status = [&] { return panel.findChild<QLabel*>(QStringLiteral("debugStatus"))->text(); };
        auto shown = [&] { return panel.findChild<QPlainTextEdit*>()->toPlainText(); };
        QCOMPARE(status(), QString(str::kDebugPanelNoGame));

        launch::LaunchSettings settings = launch::LaunchSettings::launchDefaults();
        settings.g_game = 1;
        settings.f_defi = dir.path() + QLatin1Char('/');
        QVERIFY(settings.write(ProfileStore::app()));
        panel.reload();
        const QString path = panel.path();
        QCOMPARE(QFileInfo(path).absoluteFilePath(), dir.filePath(QStringLiteral("debug.txt")));
        const QString missing = QString(str::kDebugPanelMissing).arg(QDir::toNativeSeparators(QDir::cleanPath(path)));
        QCOMPARE(status(), missing);

        writeFile(path, "first error\r\n");
        QTRY_COMPARE(shown(), QStringLiteral("first error\n"));
        QCOMPARE(status(), QDir::toNativeSeparators(QDir::cleanPath(path)));
        writeFile(path, "first error\r\nsecond error\r\n");
        QTRY_COMPARE(shown(), QStringLiteral("first error\nsecond error\n"));
        QVERIFY(QFile::remove(path));
        QTRY_COMPARE(status(), missing);
        writeFile(path, "new run\r\n");
        QTRY_COMPARE(shown(), QStringLiteral("new run\n"));
        // Replaced by a new file of the same size and time, as a game may do
        // on a file system that keeps times in whole seconds.
        QFile next(writeFile(path + QLatin1String(".tmp"), "old run\r\n"));
        QVERIFY(next.open(QIODevice::Append));
        QVERIFY(next.setFileTime(QFileInfo(path).lastModified(), QFileDevice::FileModificationTime));
        next.close();
        QVERIFY(std::rename(QFile::encodeName(next.fileName()), QFile::encodeName(path)) == 0);
        QTRY_COMPARE(shown(), QStringLiteral("old run\n"));

        // A large file: its end, from the start of a line, at most 1 MB.
        QByteArray big;
        int last = 0;
        for (; big.size() < 3 * 1024 * 1024; ++last)
            big += "error in line " + QByteArray::number(last) + "\r\n";
        writeFile(path, big);
        QTRY_VERIFY(shown().size() > 1000 && shown().size() <= 1024 * 1024);
        QVERIFY(shown().startsWith(QLatin1String("error in line ")));
        QVERIFY(shown().endsWith(QStringLiteral("\nerror in line %1\n").arg(last - 1)));
        QVERIFY(status().contains(QLatin1String("1024 KB")));

        // Changes made while the panel is hidden show when it comes back.
        panel.hide();
        writeFile(path, "while hidden\r\n");
        QTest::qWait(400);
        panel.show();
        QTRY_COMPARE(shown(), QStringLiteral("while hidden\n"));

        // Anything but a regular file is not there; a FIFO is never opened.
        QVERIFY(QFile::remove(path));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        panel.reload();
        QCOMPARE(status(), missing);
        QVERIFY(shown().isEmpty());
    }

    void editorSettingsRoundTrip()
    {
        EditorSettings read;
        const EditorSettings changed{false, false, false, true, false, true};
        QVERIFY(changed.write(ProfileStore::app()));
        ProfileStore::reopenApp();
        read.read(ProfileStore::app());
        QCOMPARE(read, changed);
        QVERIFY(env.settingsText().contains(QLatin1String("[Editor]")));
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
