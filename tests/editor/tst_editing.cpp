// The editing basics as the user meets them: Go To Line, auto-indent, word
// completion, the line-number gutter, and the debug output panel on real
// files that change under it.
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "editor/EditorSettings.h"
#include "editor/GoToLineDlg.h"
#include "editor/IncludeLine.h"
#include "editor/ScriptEditControl.h"
#include "launch/DebugPanel.h"
#include "launch/LaunchSettings.h"
#include "platform/LongLines.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
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

    // Tab and Shift+Tab on several lines shift each of them, in one undo step,
    // with the selection kept on the same lines; a selection that ends at the
    // start of a line leaves that line alone.
    void tabShiftsTheLinesOfASelection()
    {
        const QString text = QStringLiteral("A\n\tB\n      C\n   D\nE");
        setText(text);
        QTextCursor c = edit->textCursor();
        c.setPosition(1);
        c.setPosition(int(text.indexOf(QLatin1Char('E'))), QTextCursor::KeepAnchor);
        edit->setTextCursor(c);
        QTest::keyClick(edit.get(), Qt::Key_Tab);
        QCOMPARE(edit->rawText(), QStringLiteral("\tA\n\t\tB\n\t      C\n\t   D\nE"));
        QCOMPARE(edit->textCursor().selectedText(), QStringLiteral("\tA\u2029\t\tB\u2029\t      C\u2029\t   D"));
        QTest::keyClick(edit.get(), Qt::Key_Backtab);
        QTest::keyClick(edit.get(), Qt::Key_Backtab);
        // One tab, or up to a tab's width of blanks, per line and press.
        QCOMPARE(edit->rawText(), QStringLiteral("A\nB\nC\nD\nE"));
        edit->undo();
        QCOMPARE(edit->rawText(), text);
        edit->undo();
        QCOMPARE(edit->rawText(), text.left(0) + QStringLiteral("\tA\n\t\tB\n\t      C\n\t   D\nE"));

        // Within one line, Tab is a character as ever.
        setText(QStringLiteral("WAIT 1"), 0);
        c = edit->textCursor();
        c.setPosition(4, QTextCursor::KeepAnchor);
        edit->setTextCursor(c);
        QTest::keyClick(edit.get(), Qt::Key_Tab);
        QCOMPARE(edit->rawText(), QStringLiteral("\t 1"));
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

    // Loaded text is kept as the document holds it: the characters the
    // document reads as line breaks are line breaks in the text kept too.
    void loadedTextIsKeptAsTheDocumentHoldsIt()
    {
        edit->loadText(QStringLiteral("WAIT 1\rEND\u2029A\nB"));
        QCOMPARE(edit->rawText(), QStringLiteral("WAIT 1\nEND\nA\nB"));
        QCOMPARE(edit->lineCount(), 4);
        edit->loadText(QStringLiteral("WAIT 1\r\nEND"));
        QCOMPARE(edit->rawText(), QStringLiteral("WAIT 1\nEND"));
        edit->loadText(QStringLiteral("one\ntwo"));
        QCOMPARE(edit->rawText(), QStringLiteral("one\ntwo"));
        QVERIFY(edit->coloursInSync());
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

    // The name an include line gives, and where it stands for a click.
    void includeLineNamesItsFile_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "#INCLUDE ships.shp"
                               << "ships.shp";
        QTest::newRow("indented, any case, comment") << "\t#include Brief01.scr ; x"
                                                     << "Brief01.scr";
        QTest::newRow("quoted with a blank") << "#INCLUDE \"my ships.shp\""
                                             << "my ships.shp";
        QTest::newRow("no name") << "#INCLUDE   " << QString();
        QTest::newRow("another word") << "#INCLUDES x.shp" << QString();
    }
    void includeLineNamesItsFile()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        const std::optional<IncludeName> found = includeOnLine(line);
        QCOMPARE(found.has_value(), !name.isEmpty());
        if (found)
            QCOMPARE(line.mid(found->start, found->end - found->start), name);
    }

    // A game that writes every 50 ms: the panel is never more than half a
    // second behind, and shows exactly what the file holds, also when a line
    // break arrives in two writes.
    void debugPanelKeepsUpWithAGameThatKeepsWriting()
    {
        QTemporaryDir dir;
        launch::LaunchSettings settings = launch::LaunchSettings::launchDefaults();
        settings.g_game = 0;
        settings.f_iwar = dir.path();
        QVERIFY(settings.write(ProfileStore::app()));
        DebugPanel panel;
        panel.show();
        auto shown = [&] { return panel.findChild<QPlainTextEdit*>()->toPlainText(); };
        QFile log(panel.path());
        QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Unbuffered));

        QString expected;
        QList<std::pair<qint64, QString>> history;  // when each text was on disk
        QElapsedTimer clock;
        clock.start();
        for (int n = 0; clock.elapsed() < 1000; ++n) {
            log.write(n % 3 == 1 ? "\nerror " : "\r\nerror ");
            log.write(QByteArray::number(n) + (n % 3 == 0 ? "\r" : ""));
            expected += QStringLiteral("\nerror %1").arg(n);
            history.append({clock.elapsed(), expected});
            QTest::qWait(50);
            const qint64 due = clock.elapsed() - 500;
            for (auto it = history.crbegin(); it != history.crend(); ++it) {
                if (it->first <= due) {
                    QVERIFY2(shown().startsWith(it->second), qPrintable(QString::number(n)));
                    break;
                }
            }
        }
        QTRY_COMPARE(shown(), expected);

        // A line of megabytes is shown cut, as the editor cuts it; what
        // follows it still arrives.
        log.write(QByteArray(3 * 1024 * 1024, 'x'));
        QTRY_VERIFY(shown().endsWith(QString(longlines::kLongestEditableLine, QLatin1Char('x'))));
        log.write("\r\nlast\r\n");
        QTRY_VERIFY(shown().endsWith(QLatin1String("x\nlast\n")));
        for (const QString& line : shown().split(QLatin1Char('\n')))
            QVERIFY(line.size() <= longlines::kLongestEditableLine);
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
