// The HTML export of a large template-like script, from file to file: in
// this process, as the whole "vantrel --export-html" process, and against
// kate-syntax-highlighter when it is on the PATH, with a syntax definition of
// the script language made from the vocabulary. Prints "name value unit".
#include "BenchTiming.h"
#include "editor/ScriptIndex.h"
#include "editor/ScriptVocabulary.h"
#include "platform/TextCodec.h"
#include "shell/CommandLine.h"
#include "snippets/BasicTemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

// The template's lines without the blank ones, over and over, to at most
// maxBytes: about 39 bytes a line, as in a real mission. Written a piece at a
// time, so that this process stays small for the processes it starts.
bool writeTemplateLike(const QString& path, int lines, qint64 maxBytes = -1)
{
    QStringList body = BasicTemplate::text().split(QLatin1Char('\n'));
    body.removeAll(QString());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < lines; ++i) {
        const QByteArray line = textcodec::encode(body[i % body.size()] + QLatin1Char('\n')).bytes;
        if (maxBytes >= 0 && f.size() + line.size() > maxBytes)
            break;
        if (f.write(line) != line.size())
            return false;
    }
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString wordItems(const ScriptVocabulary::Table& table)
{
    QString items;
    for (const char* w : table) {
        if (w && *w)
            items += QStringLiteral("<item>%1</item>").arg(QString::fromLatin1(w).toHtmlEscaped());
    }
    return items;
}

// The six classes: keywords before commands, since a word in both tables is
// a keyword; a label runs from the line start to a colon.
QByteArray syntaxDefinition()
{
    const ScriptVocabulary::Tables& words = ScriptVocabulary::builtIn();
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE language>\n"
               "<language name=\"Vantrel Script\" section=\"Scripts\" extensions=\"*.iws\" version=\"1\" "
               "kateversion=\"5.0\">\n<highlighting>\n<list name=\"commands\">%1</list>\n"
               "<list name=\"keywords\">%2</list>\n<contexts>\n"
               "<context name=\"Normal\" attribute=\"Regular\" lineEndContext=\"#stay\">\n"
               " <DetectChar char=\";\" attribute=\"Comment\" context=\"Comment\"/>\n"
               " <Detect2Chars char=\"/\" char1=\"/\" attribute=\"Comment\" context=\"Comment\"/>\n"
               " <RegExpr String=\"^[^;:]*(?=:)\" attribute=\"Label\" context=\"#stay\" column=\"0\"/>\n"
               " <DetectChar char=\"&quot;\" attribute=\"String\" context=\"String\"/>\n"
               " <keyword String=\"keywords\" attribute=\"Keyword\" context=\"#stay\"/>\n"
               " <keyword String=\"commands\" attribute=\"Command\" context=\"#stay\"/>\n</context>\n"
               "<context name=\"String\" attribute=\"String\" lineEndContext=\"#pop\">\n"
               " <DetectChar char=\"&quot;\" attribute=\"String\" context=\"#pop\"/>\n</context>\n"
               "<context name=\"Comment\" attribute=\"Comment\" lineEndContext=\"#pop\"/>\n</contexts>\n"
               "<itemDatas>\n<itemData name=\"Regular\" defStyleNum=\"dsNormal\"/>\n"
               "<itemData name=\"Command\" defStyleNum=\"dsFunction\"/>\n"
               "<itemData name=\"Keyword\" defStyleNum=\"dsKeyword\"/>\n"
               "<itemData name=\"String\" defStyleNum=\"dsString\"/>\n"
               "<itemData name=\"Label\" defStyleNum=\"dsOthers\"/>\n"
               "<itemData name=\"Comment\" defStyleNum=\"dsComment\"/>\n</itemDatas>\n</highlighting>\n"
               "<general><keywords casesensitive=\"1\"/></general>\n</language>\n")
        .arg(wordItems(words.commands), wordItems(words.keywords))
        .toUtf8();
}

// A process's time from start to end, and the processor time it took.
struct Timing {
    double wallMs = -1;  // -1: the process failed
    double cpuMs = -1;
};

double childrenCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// A run counts when it ends with a status of at most okStatus; its standard
// output goes to outputFile when one is named.
Timing runProcess(const QString& program, const QStringList& args, const QProcessEnvironment& env, int okStatus = 0,
                  const QString& outputFile = {})
{
    const double cpuBefore = childrenCpuMs();
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    p.setProcessEnvironment(env);
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    p.start(program, args);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() <= okStatus;
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    return ok ? Timing{wall, childrenCpuMs() - cpuBefore} : Timing{};
}

// The medians of several runs of both, taken in turns so that both see the
// same load of the machine.
std::pair<Timing, Timing> inTurns(int runs, const std::function<Timing()>& a, const std::function<Timing()>& b)
{
    std::vector<Timing> ta;
    std::vector<Timing> tb;
    for (int i = 0; i < runs; ++i) {
        ta.push_back(a());
        if (b)
            tb.push_back(b());
    }
    const auto median = [](const std::vector<Timing>& t) {
        std::vector<double> wall;
        std::vector<double> cpu;
        for (const Timing& x : t) {
            if (x.wallMs < 0)
                return Timing{};
            wall.push_back(x.wallMs);
            cpu.push_back(x.cpuMs);
        }
        return wall.empty() ? Timing{} : Timing{bench::median(wall), bench::median(cpu)};
    };
    return {median(ta), median(tb)};
}

// The largest peak memory of the processes waited for so far.
double childrenPeakMb()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// A run of kate-syntax-highlighter on script, with a syntax definition of the
// script language in dir; none when the tool is not on the PATH.
std::function<Timing()> kateRun(const QTemporaryDir& dir, const QString& script)
{
    const QString kate = QStandardPaths::findExecutable(QStringLiteral("kate-syntax-highlighter"));
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString syntaxDir = data + QStringLiteral("/org.kde.syntax-highlighting/syntax");
    if (kate.isEmpty() || !QDir().mkpath(syntaxDir) ||
        !writeFile(syntaxDir + QStringLiteral("/vantrel.xml"), syntaxDefinition()))
        return {};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QStringList args = {QStringLiteral("-s"), QStringLiteral("Vantrel Script"), QStringLiteral("-o"),
                              dir.filePath(QStringLiteral("kate.html")), script};
    return [=] { return runProcess(kate, args, env); };
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    QCoreApplication app(argc, argv);
    const QString script = dir.filePath(QStringLiteral("mission.iws"));
    const QString small = dir.filePath(QStringLiteral("1mb.iws"));
    const QString huge = dir.filePath(QStringLiteral("million.iws"));
    const QString page = dir.filePath(QStringLiteral("mission.html"));
    if (!writeTemplateLike(script, 100000) || !writeTemplateLike(small, 100000, 1000000) ||
        !writeTemplateLike(huge, 1000000))
        return 1;
    std::printf("# 100,000 lines: %lld bytes; 1,000,000 lines: %lld bytes\n",
                static_cast<long long>(QFileInfo(script).size()), static_cast<long long>(QFileInfo(huge).size()));

    // The index of the same script, built afresh as on opening it.
    const QString text = textcodec::readScriptFile(script).text;
    bench::print("index_100k_ms", bench::timeMs(9, [&] { const ScriptIndex index(text); }), "ms");

    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString program = QStringLiteral(VANTREL_PROGRAM);
    const QString export1m = dir.filePath(QStringLiteral("million.html"));
    const auto ours = [&] { return runProcess(program, {QStringLiteral("--export-html"), script, page}, env); };
    const auto oursMillion = [&] {
        return runProcess(program, {QStringLiteral("--export-html"), huge, export1m}, env);
    };
    // Peak memory first, while no other process has run: a child's peak
    // counts from the parent's size at the fork.
    ours();
    bench::print("export_process_100k_peak_mb", childrenPeakMb(), "MB");
    bench::print("export_process_1m_lines_ms", inTurns(3, oursMillion, {}).first.wallMs, "ms");
    bench::print("export_process_1m_lines_peak_mb", childrenPeakMb(), "MB");

    const std::function<Timing()> kate = kateRun(dir, script);
    if (!kate)
        std::printf("# kate-syntax-highlighter is not on the PATH: no comparison\n");
    const auto [oursTiming, kateTiming] = inTurns(11, ours, kate);
    bench::print("export_process_100k_ms", oursTiming.wallMs, "ms");
    bench::print("export_process_100k_cpu_ms", oursTiming.cpuMs, "ms");
    bench::print("export_100k_ms", bench::timeMs(9, [&] { headless::exportHtml(script, page); }), "ms");
    // "vantrel --check" on the same script, in turns with the export: the
    // script's hints (an include that is not there, a label defined in each
    // copy of the template) go to a file as the page does.
    const QString hints = dir.filePath(QStringLiteral("hints.txt"));
    const auto check = [&] { return runProcess(program, {QStringLiteral("--check"), script}, env, 1, hints); };
    const auto [exportTiming, checkTiming] = inTurns(11, ours, check);
    bench::print("check_process_100k_ms", checkTiming.wallMs, "ms");
    bench::print("export_process_100k_same_run_ms", exportTiming.wallMs, "ms");
    bench::print("export_1mb_ms", bench::timeMs(9, [&] { headless::exportHtml(small, page); }), "ms");
    if (!kate)
        return 0;
    if (kateTiming.wallMs < 0) {
        std::printf("# kate-syntax-highlighter failed: no comparison\n");
        return 0;
    }
    bench::print("kate_process_100k_ms", kateTiming.wallMs, "ms");
    bench::print("kate_process_100k_cpu_ms", kateTiming.cpuMs, "ms");
    bench::print("export_speedup_vs_kate", kateTiming.wallMs / oursTiming.wallMs, "x");
    // Processor time is less swayed than the clock by other work on the machine.
    bench::print("export_cpu_speedup_vs_kate", kateTiming.cpuMs / oursTiming.cpuMs, "x");
    return 0;
}
