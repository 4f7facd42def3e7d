// highlight_goldens SCRIPT.iws...: writes SCRIPT.iws.styled beside each script,
// the engine's whole-text colouring with a class marker at every change.
// Read what it writes before committing it: the golden files are only worth
// something when a person has checked them against the rules.
#include "ReferenceHighlighter.h"

#include "editor/HighlightEngine.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList scripts = app.arguments().mid(1);
    if (scripts.isEmpty()) {
        std::fprintf(stderr, "usage: highlight_goldens SCRIPT.iws...\n");
        return 2;
    }
    const HighlightEngine engine;
    int status = 0;
    for (const QString& script : scripts) {
        const textcodec::ReadResult read = textcodec::readScriptFile(script);
        if (!read.error.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(script), qPrintable(read.error));
            status = 1;
            continue;
        }
        const HighlightEngine::Result r = engine.highlight(read.text, 0, -1);
        std::vector<std::uint8_t> classes(std::size_t(read.text.size()), std::uint8_t(TextClass::Regular));
        for (std::size_t k = 0; k < r.classes.size(); ++k) {
            if (r.classes[k] != HighlightEngine::kUnpainted)
                classes[std::size_t(r.begin) + k] = r.classes[k];
        }
        QSaveFile out(script + QStringLiteral(".styled"));
        if (!out.open(QIODevice::WriteOnly) || out.write(styledText(read.text, classes).toUtf8()) < 0 ||
            !out.commit()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(out.fileName()), qPrintable(out.errorString()));
            status = 1;
            continue;
        }
        std::printf("wrote %s\n", qPrintable(out.fileName()));
    }
    return status;
}
