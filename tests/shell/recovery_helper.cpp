// A second editor for the tests of unsaved work: it opens the script named,
// types into it and says "ready" on standard output (with "journalled", only
// once the copy of the unsaved text is on disk), then runs until it is
// killed or told to end. A third argument names a script it then shows in a
// tab of its own, with the typed one behind it.
#include "editor/CVantrelView.h"
#include "platform/RecoveryJournal.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelApp.h"
#include "shell/CVantrelDoc.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    CVantrelApp app(CommandLine::parse({QStringLiteral("-Embedding")}));
    if (!app.InitInstance() || !app.mainFrame()->document()->OpenWithMessages(qapp.arguments().value(1)))
        return 2;
    app.mainFrame()->view()->insertScriptText(QStringLiteral("typed before the end\n"));
    if (const QString shown = qapp.arguments().value(3); !shown.isEmpty() && !app.mainFrame()->openInNewTab(shown))
        return 2;
    const bool waitForCopy = qapp.arguments().value(2) == QLatin1String("journalled");
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QDir folder(RecoveryJournal::standardFolder());
        if (waitForCopy && folder.entryList({QStringLiteral("*.journal")}, QDir::Files).isEmpty())
            return;
        poll.stop();
        std::puts("ready");
        std::fflush(stdout);
    });
    poll.start(50);
    return qapp.exec();
}
