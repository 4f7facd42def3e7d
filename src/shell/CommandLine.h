// The program's command line: an optional script to open, the switches that
// keep the splash screen away, and the jobs that run without a window.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Action { Run, ExportHtml, Check, Help, Version, Error };
    Action action = Action::Run;
    bool showSplash = true;  // false with -Embedding or -Automation
    QString file;            // the script to open, or the script to export
    QString output;          // --export-html: the page to write; empty for standard output
    QStringList scripts;     // --check: the scripts to look at
    QString error;           // Action::Error: the message for standard error

    // args without the program name.
    static CommandLine parse(const QStringList& args);
};

namespace headless {

// Runs a job that needs no window (export, help, version, a bad option) and
// returns its exit status; returns -1 when the command line asks for the editor.
int run(const CommandLine& cl);

// Writes SCRIPT as an HTML page with the colours of the settings store; the
// status a shell sees: 0 done, 1 an unreadable script, an OUT that is the
// script itself, or an unwritable page. OUT empty: standard output.
int exportHtml(const QString& script, const QString& out);

// Prints the hints of each script as "PATH:LINE:COLUMN: warning: TEXT", the
// way compilers report, for editors and build tools to read. The status: 0
// no hint, 1 hints, 2 a script that could not be read.
int check(const QStringList& scripts);

}  // namespace headless
