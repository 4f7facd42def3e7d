// The editor on a large script, with its line numbers shown: opening,
// colouring the whole text, typing, leaving a line, scrolling and Replace
// All (100,000 and, without --quick, 1,000,000 lines; --replace-all for
// Replace All alone); then a second script in a tab, switching tabs, and ten
// scripts open. Prints
// "name value unit" lines; medians of several runs.
#include "BenchTiming.h"
#include "editor/CVantrelView.h"
#include "editor/FindReplace.h"
#include "editor/OutlinePanel.h"
#include "platform/MessageBox.h"
#include "platform/RecoveryJournal.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"
#include "shell/DocumentSet.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QThread>

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

// One key press in the middle of the script to the painted result: the key,
// then the painting it asked for, which the event loop does next.
double timeKeystrokes(CVantrelView* view)
{
    return bench::timeMs(51, [view] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("A"));
        QApplication::sendEvent(view, &press);
        QApplication::sendPostedEvents(view->window(), QEvent::UpdateRequest);
    });
}

// The most memory the process has held, from the kernel's account of it.
double peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
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
        FindReplace find(&view, [&view] { return &view; });
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
    // And with the outline beside the script.
    if (QAction* outline = frame.action(ids::ID_VIEW_OUTLINE); !outline->isChecked())
        outline->trigger();
    const QString path = home.filePath(QStringLiteral("big.iws"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bigScript(100000).toLatin1());
    }
    // A second script as long, whose lines differ: opened in turn with the
    // first, each open reads a script other than the one shown, as a user's
    // does. Opening the very text already shown again would leave the index
    // and the colours kept beside the text nothing to do.
    const QString otherPath = home.filePath(QStringLiteral("other.iws"));
    {
        QFile f(otherPath);
        f.open(QIODevice::WriteOnly);
        f.write(bigScript(100000).replace(QLatin1String("Loop"), QLatin1String("Turn")).toLatin1());
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
    int turn = 0;
    const auto openInTurn = [&] {
        frame.document()->OnOpenDocument(++turn % 2 ? otherPath : path, nullptr);
        view->repaint();
    };
    bench::print("open_100k_ms", bench::timeMs(6, openInTurn), "ms");
    bench::print("f5_100k_ms",
                 bench::timeMs(7,
                               [&] {
                                   view->OnRegenerateHighlights();
                                   view->repaint();
                               }),
                 "ms");

    // The hints of the whole script, as found a moment after typing stops;
    // they are on screen for the figures below.
    bench::print("hints_100k_ms", bench::timeMs(5, [&] { view->updateHints(); }), "ms");
    // The outline's entries, built again a moment after typing stops.
    OutlinePanel* outline = frame.findChild<OutlinePanel*>();
    bench::print("outline_100k_ms", bench::timeMs(5, [&] { outline->rebuild(); }), "ms");

    // Typing in the middle of the script: one key press to the painted result.
    QTextCursor c = view->textCursor();
    c.setPosition(view->document()->findBlockByNumber(50000).position());
    view->setTextCursor(c);
    view->verticalScrollBar()->setValue(50000 - 10);
    bench::print("keystroke_100k_ms", timeKeystrokes(view), "ms");
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

    // The figures above never let the window reach the screen, so a repaint
    // paints little. From here it is on screen, as a user's is: every repaint
    // paints and flushes what changed. Open and the keystroke once more, on
    // one script, for the tabs below to be compared with.
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    bench::print("open_100k_shown_ms", bench::timeMs(6, openInTurn), "ms");
    c = view->textCursor();
    c.setPosition(view->document()->findBlockByNumber(50000).position());
    view->setTextCursor(c);
    view->verticalScrollBar()->setValue(50000 - 10);
    bench::print("keystroke_100k_shown_ms", timeKeystrokes(view), "ms");

    // Several scripts: a second one opened in a tab of its own, to its first
    // paint, and a switch between the two, to the first paint of the other.
    DocumentSet* scripts = frame.scripts();
    const auto copyOf = [&](int i) {
        const QString copy = home.filePath(QStringLiteral("big%1.iws").arg(i));
        QFile::copy(path, copy);
        return copy;
    };
    const QString second = copyOf(1);
    std::vector<double> opens;
    for (int run = 0; run < 5; ++run) {
        if (run > 0) {
            scripts->remove(scripts->activeIndex());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QElapsedTimer timer;
        timer.start();
        frame.openInNewTab(second);
        frame.view()->repaint();
        opens.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    bench::print("open_second_100k_ms", bench::median(opens), "ms");
    // The first of them, into memory the process never held before.
    bench::print("open_second_first_100k_ms", opens.front(), "ms");
    int other = 0;
    bench::print("tab_switch_100k_ms",
                 bench::timeMs(21,
                               [&] {
                                   scripts->setActive(other);
                                   frame.view()->repaint();
                                   other = 1 - other;
                               }),
                 "ms");

    // Ten such scripts open at once: the memory they take, and typing in one of them.
    for (int i = 2; i < 10; ++i) {
        frame.openInNewTab(copyOf(i));
        frame.view()->repaint();
    }
    QApplication::processEvents();
    CVantrelView* tenth = frame.view();
    QTextCursor at = tenth->textCursor();
    at.setPosition(tenth->document()->findBlockByNumber(50000).position());
    tenth->setTextCursor(at);
    tenth->verticalScrollBar()->setValue(50000 - 10);
    bench::print("keystroke_100k_ten_open_ms", timeKeystrokes(tenth), "ms");
    bench::print("ten_scripts_peak_mb", peakMemoryMb(), "MB");

    for (int i = 0; i < scripts->count(); ++i)
        scripts->document(i)->SetModifiedFlag(false);
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
