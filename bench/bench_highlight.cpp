// The highlight engine on large realistic scripts, against the literal
// passes (one find per vocabulary word and per occurrence, the find being
// QStringView::indexOf over the searched range). Prints "name value unit".
#include "ReferenceHighlighter.h"

#include "BenchTiming.h"
#include "editor/HighlightEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

// A mission script as people write them: declarations, ship set-up with
// strings, labelled blocks of commands, comments of both kinds, blank lines.
QString realisticScript(qsizetype minLines, qsizetype minChars)
{
    std::mt19937 rng(4242);
    const auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    QString s;
    qsizetype lines = 0;
    int n = 0;
    while (lines < minLines || s.size() < minChars) {
        ++n;
        switch (pick(20)) {
        case 0:
            s += QStringLiteral(";------------------------------------------------\n");
            break;
        case 1:
            s += QStringLiteral("; Wave %1: the raiders come in from the gas giant\n").arg(n);
            break;
        case 2:
            s += QStringLiteral("Block_%1:\n").arg(n);
            break;
        case 3:
        case 4:
            s += QStringLiteral("\tCREATE_SHIP Ship%1,Model%2,\"Raider %1\",SFIGHTER,ALIEN,%3,0,40000,0,0,0\n")
                     .arg(n)
                     .arg(pick(9))
                     .arg(pick(5000));
            break;
        case 5:
            s += QStringLiteral("\tWAIT_TIME\t%1\n").arg(pick(300));
            break;
        case 6:
            s += QStringLiteral("\tCALL_WHEN\tDESTROYED,Ship%1,Block_%2\t; a loss\n").arg(pick(n)).arg(pick(n));
            break;
        case 7:
            s += QStringLiteral("\tHUD_STRING\tTxt%1\n").arg(pick(50));
            break;
        case 8:
            s += QStringLiteral("\tSTRING\tTxt%1,\"Commander: head for nav point %2; hurry\"\n").arg(n).arg(pick(9));
            break;
        case 9:
            s += QStringLiteral("\tREGLOAD\tModel%1,\"\\psg\\resource\\shapes\\Model%1.lwo\",LWO2BRM\n").arg(n);
            break;
        case 10:
            s += QStringLiteral("\tBRA_IF\t\tDOCKED,Ship%1,Block_%2\t// jump when docked\n").arg(pick(n)).arg(pick(n));
            break;
        case 11:
        case 12:
            s += QLatin1Char('\n');
            break;
        case 13:
            s += QStringLiteral("\tIF\t\tLosses,GT,%1\n\t\tFAILURE\n\tEND\n").arg(pick(4));
            lines += 2;
            break;
        case 14:
            s += QStringLiteral("\tCAMERA\tCam%1,CAM_CHASE,Ship%1,0,0,-20000\n").arg(n);
            break;
        case 15:
            s += QStringLiteral("\tORDER\t\tShip%1,ATTACKED,Ship%2\n").arg(pick(n)).arg(pick(n));
            break;
        case 16:
            s += QStringLiteral("\tSET_OBJV\t%1,DONE\n").arg(pick(5));
            break;
        case 17:
            s += QStringLiteral("\tWEAPON_BEAM\tShip%1,ARC_FWD,BEAMCANN\n").arg(pick(n));
            break;
        case 18:
            s += QStringLiteral("\tVAR\t\tCounter%1\n\tINIT_VAR\tCounter%1,0\n").arg(n);
            ++lines;
            break;
        default:
            s += QStringLiteral("\tRETURN\n");
            break;
        }
        ++lines;
    }
    return s;
}

volatile std::size_t g_sink = 0;  // keeps the results from being optimised away

// Whether both colour the whole text the same.
bool agree(const HighlightEngine& engine, const ReferenceHighlighter& ref, QStringView text)
{
    std::vector<std::uint8_t> classes;
    ref.highlight(text, 0, -1, classes);
    const HighlightEngine::Result r = engine.highlight(text, 0, -1);
    for (std::size_t k = 0; k < r.classes.size(); ++k) {
        if (r.classes[k] != HighlightEngine::kUnpainted && r.classes[k] != classes[std::size_t(r.begin) + k])
            return false;
    }
    return r.begin == 0 && qsizetype(r.classes.size()) == text.size();
}

void benchText(const char* tag, const QString& text, const HighlightEngine& engine, const ReferenceHighlighter& ref)
{
    char name[128];
    const auto label = [&](const char* what) {
        std::snprintf(name, sizeof name, "%s_%s", what, tag);
        return name;
    };
    std::printf("# %s: %lld lines, %lld characters\n", tag, static_cast<long long>(text.count(QLatin1Char('\n')) + 1),
                static_cast<long long>(text.size()));
    bench::print(label("engine_reference_agree"), agree(engine, ref, text) ? 1 : 0, "bool");

    const double engineWhole =
        bench::timeMs(7, [&] { g_sink = g_sink + engine.highlight(text, 0, -1).classes.size(); });
    bench::print(label("engine_whole_text"), engineWhole, "ms");
    std::vector<std::uint8_t> classes;
    const double refWhole = bench::timeMs(3, [&] {
        ref.highlight(text, 0, -1, classes);
        g_sink = g_sink + classes[classes.size() / 2];
    });
    bench::print(label("reference_whole_text"), refWhole, "ms");
    bench::print(label("speedup_whole_text"), refWhole / engineWhole, "x");

    // The line the caret left: one line in the middle of the text, with its
    // line break, as the timer colours it.
    const qsizetype mid = text.size() / 2;
    const qsizetype ls = text.lastIndexOf(QLatin1Char('\n'), mid) + 1;
    const qsizetype next = text.indexOf(QLatin1Char('\n'), ls) + 1;
    constexpr int kCalls = 2000;
    const double engineLine = bench::timeMs(7, [&] {
        for (int i = 0; i < kCalls; ++i)
            g_sink = g_sink + engine.highlight(text, ls, next).classes.size();
    });
    bench::print(label("engine_single_line"), engineLine * 1000.0 / kCalls, "us");
    const double refLine = bench::timeMs(7, [&] {
        for (int i = 0; i < kCalls / 20; ++i) {
            ref.highlight(text, ls, next, classes);
            g_sink = g_sink + classes[std::size_t(ls)];
        }
    });
    bench::print(label("reference_single_line"), refLine * 1000.0 / (kCalls / 20), "us");
    bench::print(label("speedup_single_line"), (refLine / (kCalls / 20)) / (engineLine / kCalls), "x");
}

// The headline figures: a whole 100,000-line text, the line the caret left
// in it, and the speed-up over the literal passes on 10,000 lines.
void headline(const HighlightEngine& engine, const ReferenceHighlighter& ref)
{
    const QString big = realisticScript(100000, 0);
    bench::print("document_100k_ms",
                 bench::timeMs(9, [&] { g_sink = g_sink + engine.highlight(big, 0, -1).classes.size(); }), "ms");
    const qsizetype ls = big.lastIndexOf(QLatin1Char('\n'), big.size() / 2) + 1;
    const qsizetype next = big.indexOf(QLatin1Char('\n'), ls) + 1;
    constexpr int kCalls = 2000;
    const double lines = bench::timeMs(9, [&] {
        for (int i = 0; i < kCalls; ++i)
            g_sink = g_sink + engine.highlight(big, ls, next).classes.size();
    });
    bench::print("lastline_100k_ms", lines / kCalls, "ms");

    const QString small = realisticScript(10000, 0);
    const double engineMs = bench::timeMs(21, [&] { g_sink = g_sink + engine.highlight(small, 0, -1).classes.size(); });
    std::vector<std::uint8_t> classes;
    const double refMs = bench::timeMs(5, [&] {
        ref.highlight(small, 0, -1, classes);
        g_sink = g_sink + classes[classes.size() / 2];
    });
    bench::print("engine_10k_ms", engineMs, "ms");
    bench::print("passes_10k_ms", refMs, "ms");
    bench::print("speedup_vs_passes_10k", refMs / engineMs, "x");
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const HighlightEngine engine;
    const ReferenceHighlighter ref;
    headline(engine, ref);
    if (app.arguments().contains(QStringLiteral("--all"))) {
        benchText("100k_lines", realisticScript(100000, 0), engine, ref);
        benchText("1mb", realisticScript(0, 1000000), engine, ref);
    }
    return 0;
}
