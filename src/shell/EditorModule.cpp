// The editor with its windows, as a module that the program loads only when
// it shows them: jobs without a window never load the widget libraries.
#include "shell/CVantrelApp.h"
#include "shell/CommandLine.h"

#include <QApplication>

extern "C" Q_DECL_EXPORT int vantrel_run_editor(int argc, char** argv, const CommandLine* cl)
{
    QApplication app(argc, argv);
    CVantrelApp theApp(*cl);
    if (!theApp.InitInstance())
        return theApp.handedOver() ? 0 : 1;
    return app.exec();
}
