#include "shell/CVantrelApp.h"
#include "shell/CommandLine.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine cl = CommandLine::parse(args);
    if (cl.action != CommandLine::Action::Run) {
        // Jobs without a window need no display.
        QCoreApplication core(argc, argv);
        return headless::run(cl);
    }

    QApplication app(argc, argv);
    CVantrelApp theApp(cl);
    if (!theApp.InitInstance())
        return theApp.handedOver() ? 0 : 1;
    return app.exec();
}
