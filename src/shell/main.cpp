#include "resources/strings.h"
#include "shell/CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <csignal>
#include <cstdio>

namespace {

using RunEditor = int (*)(int, char**, const CommandLine*);

// The editor module: beside the program in a build, in ../lib/vantrel once installed.
QString editorModulePath(const char* argv0)
{
    // The program's own file, however it was started (argv[0] may be a bare
    // name found on the PATH).
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QString program = self.exists() ? self.canonicalFilePath() : QString::fromLocal8Bit(argv0);
    const QString dir = QFileInfo(program).absolutePath();
    const QString beside = dir + QLatin1String("/" VANTREL_EDITOR_MODULE);
    return QFileInfo::exists(beside) ? beside
                                     : QDir::cleanPath(dir + QLatin1String("/../lib/vantrel/" VANTREL_EDITOR_MODULE));
}

}  // namespace

int main(int argc, char* argv[])
{
    // A write past the user's file-size limit then fails with EFBIG, like one
    // onto a full disk, instead of ending the program with the unsaved text.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine cl = CommandLine::parse(args);
    if (cl.action != CommandLine::Action::Run) {
        // Jobs without a window need no display and none of the widget libraries.
        QCoreApplication core(argc, argv);
        return headless::run(cl);
    }
    QLibrary module(editorModulePath(argv[0]));
    const auto run = reinterpret_cast<RunEditor>(module.resolve("vantrel_run_editor"));
    if (!run) {
        const QByteArray why = QString(str::kEditorModuleMissing).arg(module.errorString()).toLocal8Bit();
        std::fputs(why.constData(), stderr);
        return 1;
    }
    return run(argc, argv, &cl);
}
