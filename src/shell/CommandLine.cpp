#include "shell/CommandLine.h"

#include "editor/HtmlExport.h"
#include "platform/AtomicFile.h"
#include "platform/ProfileStore.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
    const textcodec::ReadResult read = textcodec::readScriptFile(script);
    if (!read.error.isEmpty()) {
        printTo(stderr, QString(str::kCannotRead).arg(script, read.error));
        return 1;
    }
    SyntaxColours colours;
    colours.read(ProfileStore::app());
    const QByteArray page = HtmlExport::page(read.text, colours, QFileInfo(script).fileName()).toUtf8();
    if (out.isEmpty()) {
        // A full disk or a closed pipe behind standard output is a failed
        // export, not a silent one.
        const bool complete =
            std::fwrite(page.constData(), 1, std::size_t(page.size()), stdout) == std::size_t(page.size());
        if (std::fflush(stdout) != 0 || !complete) {
            printTo(stderr, QString(str::kCannotWriteOutput).arg(QString::fromLocal8Bit(std::strerror(errno))));
            return 1;
        }
        return 0;
    }
    QString error;
    if (!atomicfile::write(out, page, &error)) {
        printTo(stderr, QString(str::kCannotWrite).arg(out, error));
        return 1;
    }
    return 0;
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
    }
    return -1;
}

}  // namespace headless
