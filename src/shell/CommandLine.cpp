#include "shell/CommandLine.h"

#include "editor/HtmlExport.h"
#include "editor/ScriptHints.h"
#include "launch/LaunchPlan.h"
#include "platform/AtomicFile.h"
#include "platform/ProfileStore.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

namespace {

bool isSplashSwitch(const QString& a)
{
    for (const char* s : {"-Embedding", "/Embedding", "-Automation", "/Automation"}) {
        if (a.compare(QLatin1String(s), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void printTo(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& args)
{
    CommandLine cl;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (isSplashSwitch(a)) {
            cl.showSplash = false;
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            cl.action = Action::Help;
            return cl;
        } else if (a == QLatin1String("-v") || a == QLatin1String("--version")) {
            cl.action = Action::Version;
            return cl;
        } else if (a == QLatin1String("--export-html")) {
            if (i + 1 >= args.size()) {
                cl.action = Action::Error;
                cl.error = str::kMissingScript;
                return cl;
            }
            cl.action = Action::ExportHtml;
            cl.file = args[++i];
            if (i + 1 < args.size())
                cl.output = args[++i];
            if (i + 1 < args.size()) {
                cl.action = Action::Error;
                cl.error = QString(str::kUnknownOption).arg(args[i + 1]);
            }
            return cl;
        } else if (a == QLatin1String("--check")) {
            cl.action = Action::Check;
            cl.scripts = args.mid(i + 1);
            if (cl.scripts.isEmpty()) {
                cl.action = Action::Error;
                cl.error = str::kCheckMissingScript;
            }
            return cl;
        } else if (a == QLatin1String("--")) {
            if (i + 1 < args.size())
                cl.file = args[++i];
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            cl.action = Action::Error;
            cl.error = QString(str::kUnknownOption).arg(a);
            return cl;
        } else if (cl.file.isEmpty()) {
            cl.file = a;
        } else {
            cl.action = Action::Error;
            cl.error = QString(str::kUnknownOption).arg(a);
            return cl;
        }
    }
    return cl;
}

namespace headless {

int exportHtml(const QString& script, const QString& out)
{
    QFile file;
    if (const QString error = textcodec::openScriptFile(file, script); !error.isEmpty()) {
        printTo(stderr, QString(str::kCannotRead).arg(script, error));
        return 1;
    }
    // Written over the script, the page would take its place: a script
    // exported "to itself", or through a link to it, would be lost.
    if (!out.isEmpty() && atomicfile::sameFile(script, out)) {
        printTo(stderr, QString(str::kExportOntoScript).arg(out));
        return 1;
    }
    SyntaxColours colours;
    colours.read(ProfileStore::app());
    const QString title = QFileInfo(script).fileName();
    QString readError;
    QString writeError;
    bool done = false;
    if (out.isEmpty()) {
        // A full disk or a closed pipe behind standard output is a failed
        // export, not a silent one.
        done = HtmlExport::writeScriptPage(
            file, colours, title,
            [&](QByteArrayView block) {
                const auto size = std::size_t(block.size());
                if (std::fwrite(block.data(), 1, size, stdout) == size && std::fflush(stdout) == 0)
                    return true;
                writeError = qt_error_string(errno);
                return false;
            },
            &readError);
    } else {
        atomicfile::Writer page(out);
        done = page.open() &&
               HtmlExport::writeScriptPage(
                   file, colours, title, [&](QByteArrayView block) { return page.write(block); }, &readError) &&
               page.commit();
        writeError = page.errorString();
    }
    if (done)
        return 0;
    if (!readError.isEmpty())
        printTo(stderr, QString(str::kCannotRead).arg(script, readError));
    else if (out.isEmpty())
        printTo(stderr, QString(str::kCannotWriteOutput).arg(writeError));
    else
        printTo(stderr, QString(str::kCannotWrite).arg(out, writeError));
    return 1;
}

int check(const QStringList& scripts)
{
    const QString gameFolder = launch::chosenGameFolder(
        launch::LaunchSettings::read(ProfileStore::app(), launch::LaunchSettings::launchDefaults()));
    int status = 0;
    for (const QString& script : scripts) {
        ScriptIndex index;
        if (const QString error = index.readFile(script); !error.isEmpty()) {
            printTo(stderr, QString(str::kCannotRead).arg(script, error));
            status = 2;
            continue;
        }
        IncludeFiles includes(QFileInfo(script).absolutePath(), gameFolder);
        const std::vector<ScriptHint> hints = scriptHints(index, std::ref(includes));
        // Written a piece at a time: a script may have many thousand hints.
        QString out;
        for (const ScriptHint& h : hints) {
            out += QString(str::kCheckHintLine)
                       .arg(script, QString::number(h.line + 1), QString::number(h.column + 1), h.text);
            if (out.size() > 16 * 1024) {
                printTo(stdout, out);
                out.resize(0);
            }
        }
        printTo(stdout, out);
        if (!hints.empty() && status == 0)
            status = 1;
    }
    return status;
}

int run(const CommandLine& cl)
{
    switch (cl.action) {
    case CommandLine::Action::Run:
        return -1;
    case CommandLine::Action::Help:
        printTo(stdout, str::kUsage);
        return 0;
    case CommandLine::Action::Version:
        printTo(stdout, QString(str::kProductDescription) + QLatin1Char(' ') + str::kVersion + QLatin1Char('\n'));
        return 0;
    case CommandLine::Action::Error:
        printTo(stderr, cl.error);
        return 2;
    case CommandLine::Action::ExportHtml:
        return exportHtml(cl.file, cl.output);
    case CommandLine::Action::Check:
        return check(cl.scripts);
    }
    return -1;
}

}  // namespace headless
