// The editor on a large script, with its line numbers shown: opening,
// colouring the whole text, typing, leaving a line, scrolling and Replace
// All (100,000 and, without --quick, 1,000,000 lines; --replace-all for
// Replace All alone). Prints
// "name value unit" lines; medians of several runs.
#include "BenchTiming.h"
#include "editor/CVantrelView.h"
#include "editor/FindReplace.h"
#include "platform/MessageBox.h"
#include "platform/RecoveryJournal.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

QString bigScript(int lines)
{
    static const char* const kLines[] = {
        "\tCREATE_SHIP Dreadnt,DreadMd,\"Dreadnaught CNV-301\",CORVETTE,NAVY,0,0,0,0,0,0",
        "\tWAIT_TIME 100 ; wait: short",
        "Loop%1:",
        "\tBRA_IF\tLoop%1,SHIP_CLOCK,GT,100\t// keep going",
        "\tHUD_STRING \"Objective %1 complete\"",
        "\tCAMERA\tCamWep,CAM_CHASE,DreadShip,0,0,-20000",
        "",
        "; -- Section %1 ------------------------------",
    };
    QString text;
    for (int i = 0; i < lines; ++i) {
        const QString line = QString::fromLatin1(kLines[i % 8]);
        text += line.contains(QLatin1String("%1")) ? line.arg(i) : line;
        text += QLatin1Char('\n');
    }
    return text;
}

// A script of `lines` lines where 11 in every 100 hold the word PAUSE_FOR.
QString replaceScript(int lines)
{
    const QString other = bigScript(8);
    const QStringList kinds = other.split(QLatin1Char('\n'));
    QString text;
    for (int i = 0; i < lines; ++i) {
        text += i % 100 < 11 ? QStringLiteral("\tPAUSE_FOR 100 ; short pause") : kinds[i % 8];
        text += QLatin1Char('\n');
    }
    return text;
}

// Replace All of every PAUSE_FOR, whole words, in a fresh view each run; the
// undo that takes it back is timed too. The processor time is printed beside
// the time on the clock: on a shared machine the two differ by the waits for
// a processor.
void benchReplaceAll(int lines, const char* name, const char* cpuName, const char* undoName)
{
    const QString text = replaceScript(lines);
    mb::setAnswerer([](const mb::Box&) { return mb::IDOK; });
    std::vector<double> replace;
    std::vector<double> replaceCpu;
    std::vector<double> undo;
    for (int run = 0; run < 5; ++run) {
        CVantrelView view;
        view.resize(1000, 800);
        view.setLineNumbersVisible(true);
        view.setColourAsYouType(true);
        view.show();
        view.loadScript(text, false);
        view.repaint();
        FindReplace find(&view);
        FindOptions opt;
        opt.matchCase = true;
        opt.wholeWord = true;
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpu = std::clock();
        const int n = find.replaceAll(QStringLiteral("PAUSE_FOR"), QStringLiteral("WAIT_TIME"), opt);
        view.repaint();
        replace.push_back(double(timer.nsecsElapsed()) / 1e6);
        replaceCpu.push_back(double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        if (n != lines / 100 * 11)
            std::fprintf(stderr, "%s: %d replacements\n", name, n);
        timer.start();
        view.OnEditUndo();
        view.repaint();
        undo.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (view.rawText() != text)
            std::fprintf(stderr, "%s: undo did not restore the text\n", undoName);
    }
    mb::setAnswerer({});
    bench::print(name, bench::median(replace), "ms");
    bench::print(cpuName, bench::median(replaceCpu), "ms");
    bench::print(undoName, bench::median(undo), "ms");
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains(QStringLiteral("--replace-all"))) {
        benchReplaceAll(100000, "replace_all_100k_ms", "replace_all_100k_cpu_ms", "replace_all_undo_100k_ms");
        benchReplaceAll(1000000, "replace_all_1m_ms", "replace_all_1m_cpu_ms", "replace_all_undo_1m_ms");
        return 0;
    }

    CMainFrame frame;
    frame.resize(1000, 800);
    frame.show();
    CVantrelView* view = frame.view();
    // Measured as users see it by default: with the line numbers beside the
    // text and the line being typed coloured at once.
    view->setLineNumbersVisible(true);
    view->setColourAsYouType(true);
    const QString path = home.filePath(QStringLiteral("big.iws"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bigScript(100000).toLatin1());
    }
    const QString path1mb = home.filePath(QStringLiteral("1mb.iws"));
    {
        QFile f(path1mb);
        f.open(QIODevice::WriteOnly);
        f.write(bigScript(100000).toLatin1().left(1000000));
    }

    // Open: read, decode, lay out, colour the whole text and paint.
    bench::print("open_1mb_ms",
                 bench::timeMs(5,
                               [&] {
                                   frame.document()->OnOpenDocument(path1mb, nullptr);
                                   view->repaint();
                               }),
                 "ms");
    bench::print("open_100k_ms",
                 bench::timeMs(5,
                               [&] {
                                   frame.document()->OnOpenDocument(path, nullptr);
                                   view->repaint();
                               }),
                 "ms");
    bench::print("f5_100k_ms",
                 bench::timeMs(7,
                               [&] {
                                   view->OnRegenerateHighlights();
                                   view->repaint();
                               }),
                 "ms");

    // Typing in the middle of the script: one key press to the painted result.
    QTextCursor c = view->textCursor();
    c.setPosition(view->document()->findBlockByNumber(50000).position());
    view->setTextCursor(c);
    view->verticalScrollBar()->setValue(50000 - 10);
    bench::print("keystroke_100k_ms",
                 bench::timeMs(51,
                               [&] {
                                   QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("A"));
                                   QApplication::sendEvent(view, &press);
                                   view->repaint();
                               }),
                 "ms");
    // Leaving the line: the timer colours it. The caret goes back and forth
    // between two lines, so that every tick colours the line just left.
    int next = 50001;
    view->OnTimer();
    bench::print("leave_line_100k_ms",
                 bench::timeMs(51,
                               [&] {
                                   QTextCursor cur = view->textCursor();
                                   cur.setPosition(view->document()->findBlockByNumber(next).position());
                                   view->setTextCursor(cur);
                                   view->OnTimer();
                                   view->repaint();
                                   next = next == 50001 ? 50000 : 50001;
                               }),
                 "ms");
    bench::print("scroll_page_100k_ms",
                 bench::timeMs(51,
                               [&] {
                                   view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + 40);
                                   view->repaint();
                               }),
                 "ms");

    // The copy of unsaved text that the editor keeps for a crash: what the
    // editor waits for (handing the text over), and the whole write on the
    // copy's own thread, on the 100,000 lines and on a 40 MB script.
    RecoveryJournal journal(home.filePath(QStringLiteral("recovery")));
    const int entry = journal.newEntry();
    QString text40mb;
    while (text40mb.size() < 40000000)
        text40mb += view->scriptText();
    for (const auto& [name, text] : {std::pair("100k", view->scriptText()), std::pair("40mb", text40mb)}) {
        std::vector<double> waited;
        const double whole = bench::timeMs(7, [&] {
            QElapsedTimer t;
            t.start();
            journal.write(entry, path, {}, text);
            waited.push_back(double(t.nsecsElapsed()) / 1e6);
            journal.flush();
        });
        bench::print(qPrintable(QStringLiteral("journal_%1_editor_waits_ms").arg(QLatin1String(name))),
                     bench::median(waited), "ms");
        bench::print(qPrintable(QStringLiteral("journal_%1_written_ms").arg(QLatin1String(name))), whole, "ms");
    }
    journal.discard(entry);
    frame.document()->SetModifiedFlag(false);

    benchReplaceAll(100000, "replace_all_100k_ms", "replace_all_100k_cpu_ms", "replace_all_undo_100k_ms");
    if (!args.contains(QStringLiteral("--quick")))
        benchReplaceAll(1000000, "replace_all_1m_ms", "replace_all_1m_cpu_ms", "replace_all_undo_1m_ms");
    return 0;
}
