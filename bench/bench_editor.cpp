// The editor on a large script, with its line numbers shown: opening,
// colouring the whole text, typing, leaving a line and scrolling. Prints
// "name value unit" lines; medians of several runs.
#include "BenchTiming.h"
#include "editor/CVantrelView.h"
#include "editor/OutlinePanel.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"

#include <QAction>
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

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);

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
    frame.document()->SetModifiedFlag(false);
    return 0;
}
