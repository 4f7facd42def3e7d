// The program's jobs without a window, run as a real process: the HTML
// export with its refusals and failed writes, --help, --version and bad
// command lines. Beside them, in this process, the page read back against
// the literal passes, and the whole-or-nothing writes that save files.
#include "common/FileSizeLimit.h"
#include "common/Helpers.h"
#include "common/TestEnv.h"
#include "editor/HtmlExport.h"
#include "editor/ReferenceHighlighter.h"
#include "launch/LaunchSettings.h"
#include "platform/AtomicFile.h"
#include "platform/ProfileStore.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kProgram = QStringLiteral(VANTREL_BINARY_DIR "/src/vantrel");
const QString kGolden = QStringLiteral(VANTREL_TEST_DATA "/export/every_class.html");
const QString kScript = QStringLiteral(VANTREL_TEST_DATA "/export/every_class.iws");
const QString kExport = QStringLiteral("--export-html");

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

QByteArray name(const QString& path) { return QFile::encodeName(path); }
bool setMode(const QString& path, mode_t mode) { return ::chmod(name(path).constData(), mode) == 0; }

// The colour of each character of the page's <pre>, once it is found to
// hold non-empty spans alone, each in another colour than the one before,
// that hold text exactly.
QList<ColourRef> coloursOf(const QString& page, const QString& text)
{
    const qsizetype open = page.indexOf(QLatin1String("<pre>")) + 5;
    const QString pre = page.mid(open, page.lastIndexOf(QLatin1String("</pre>")) - open);
    static const QRegularExpression span(QStringLiteral("<span style=\"color:#([0-9a-f]{6})\">([^<>\"]+)</span>"));
    QString read;
    QList<ColourRef> colours;
    qsizetype at = 0;
    for (auto it = span.globalMatch(pre); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const uint rgb = m.captured(1).toUInt(nullptr, 16);
        const ColourRef colour = rgb >> 16 | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
        if (m.capturedStart() != at || (!colours.isEmpty() && colours.last() == colour))
            break;
        QString part = m.captured(2);
        for (const auto& [entity, c] : {std::pair{"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&amp;", '&'}})
            part.replace(QLatin1String(entity), QChar::fromLatin1(c));
        read += part;
        colours += QList<ColourRef>(part.size(), colour);
        at = m.capturedEnd();
    }
    if (at != pre.size() || read != text)
        qWarning() << "not read back:" << pre.mid(at, 80);
    return at == pre.size() && read == text ? colours : QList<ColourRef>();
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
    TestEnv m_env;
    QTemporaryDir m_dir;
    QString path(const char* file) const { return m_dir.filePath(QLatin1String(file)); }

    // fileSizeLimit: no file of the program may grow past it, as on a full disk.
    Run run(const QStringList& args, const QString& outputFile = QString(), rlim_t fileSizeLimit = RLIM_INFINITY) const
    {
        QProcess p;                                                                 // killed on leaving, should it hang
        p.setStandardOutputFile(outputFile);                                        // none when empty
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();         // with m_env's folders
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})  // these jobs need no display
            env.remove(QLatin1String(name));
        p.setProcessEnvironment(env);
        // As a shell starts it: the program must itself keep SIGXFSZ from ending it.
        p.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
        {
            const FileSizeLimit full(fileSizeLimit);  // the child inherits it as it starts
            p.start(kProgram, args);
        }
        const bool ended = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
        return {ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
    }

private slots:
    void init() { m_env.resetSettings(); }

    void exportWritesTheExpectedPage()
    {
        // To a new file, over an older and longer page, to a FIFO (which
        // stays one) and to standard output.
        const QString out = path("page.html"), fifo = path("page.fifo");
        QFile reader;
        QVERIFY(mkfifo(name(fifo).constData(), 0600) == 0 &&
                reader.open(::open(name(fifo).constData(), O_RDONLY | O_NONBLOCK), QIODevice::ReadOnly,
                            QFileDevice::AutoCloseHandle));
        for (const QString& target : {out, out, fifo, QString()}) {
            if (target == out && QFile::exists(out))
                writeFile(out, QByteArray(100000, 'x'));
            const Run r = run(QStringList{kExport, kScript, target}.mid(0, target.isEmpty() ? 2 : 3));
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.err, QByteArray());
            const QByteArray page = target.isEmpty() ? r.out : target == fifo ? reader.readAll() : readFile(target);
            if (page != readFile(kGolden))  // left beside the golden page for a person to compare
                writeFile(kGolden + QStringLiteral(".new"), page);
            QVERIFY2(page == readFile(kGolden), qPrintable(target));
        }
        QVERIFY(QFileInfo::exists(fifo) && !QFileInfo(fifo).isFile());  // still a FIFO
        QVERIFY(!QFile::exists(m_env.settingsFile()));                  // exporting reads the settings, writes none

        // The colours the editor stored.
        QVERIFY(ProfileStore::app().writeInt(str::kSectionColours, str::kEntryComments, 0x00ABCDEF));
        const QByteArray expected = readFile(kGolden).replace("color:#649664", "color:#efcdab");
        QVERIFY(expected.contains("color:#efcdab"));
        QCOMPARE(run({kExport, kScript}).out.split('\n'), expected.split('\n'));
    }

    // The page of the editor's text holds the text exactly, each character
    // in the colour of its class as the literal passes colour the whole text,
    // in spans by colour: classes that share a colour share its spans.
    void pageReadsBack()
    {
        QStringList texts = {QStringLiteral("PROMPT \"a & b < c > d\" ; <b>&amp;</b> \"\n&lt; 'x'"),
                             QStringLiteral("</pre><script>alert(1)</script>\n; </span>"),
                             QString::fromUtf8("; caf\u00e9 \u20ac \U0001F600\n\u4e2dWAIT WAIT\u20ac"),
                             QStringLiteral("\n"), QString()};
        const QDir golden(QStringLiteral(VANTREL_TEST_DATA "/highlight"));
        for (const QString& file : golden.entryList({QStringLiteral("*.iws")}, QDir::Files, QDir::Name))
            texts += textcodec::readScriptFile(golden.filePath(file)).text;
        texts += (texts.mid(5).join(u'\n') + u'\n').repeated(20);        // written in several blocks
        const SyntaxColours shared{0x00FF8000, 0x00FF8000, 0x00FF8000};  // regular text, commands, keywords
        for (const QString& text : texts) {
            std::vector<std::uint8_t> classes;
            ReferenceHighlighter().highlight(text, 0, -1, classes);
            for (const SyntaxColours& colours : {SyntaxColours(), shared}) {
                QList<ColourRef> expected;
                for (const std::uint8_t c : classes)
                    expected += colours.forClass(TextClass(c));
                QCOMPARE(HtmlExport::exportText(text, colours, QStringLiteral("<&\">"), path("p.html")), QString());
                const QString page = QString::fromUtf8(readFile(path("p.html")));
                QVERIFY(page.contains(QLatin1String("<title>&lt;&amp;&quot;&gt;</title>")));
                QCOMPARE(coloursOf(page, text), expected);
            }
        }
    }

    // A script file's bytes make the same page as its text: every byte value,
    // every kind of line end, and a CR LF cut by the end of a block read.
    void fileAndTextMakeOnePage()
    {
        QByteArray bytes = "x" + QByteArray("\r\n").repeated(40000) + "\r\rWAIT\n\"a&b\"\r\n; <x>\r";
        for (int b = 0; b < 256 * 500; ++b)
            bytes += char(b);
        QCOMPARE(run({kExport, writeFile(path("b.iws"), bytes), path("b.html")}).exitCode, 0);
        QCOMPARE(HtmlExport::exportText(textcodec::decode(bytes), {}, u"b.iws", path("t.html")), QString());
        QVERIFY(readFile(path("b.html")) == readFile(path("t.html")));
    }

    void refusalsWriteNothing()
    {
        const QString script = writeFile(path("s.iws"), "END\r\n");
        const QString out = path("never.html");
        const QString fifo = path("fifo.iws");
        const QString huge = writeFile(path("huge.iws"), QByteArray());
        QVERIFY(QFile::resize(huge, textcodec::kMaxScriptBytes + 1));  // sparse: it takes no room
        QVERIFY(QFile::link(script, path("link.html")) && mkfifo(name(fifo).constData(), 0600) == 0);
        QCOMPARE(::link(name(script).constData(), name(path("hard.html")).constData()), 0);
        // What is refused and why; no reason: the page would replace the script.
        const std::pair<QStringList, QString> cases[] = {
            {{script, script}, {}},
            {{script, path("link.html")}, {}},
            {{script, path("hard.html")}, {}},
            {{fifo, out}, str::kNotRegularFile},                         // would wait for a writer
            {{QStringLiteral("/dev/zero"), out}, str::kNotRegularFile},  // would never end
            {{huge, out}, str::kScriptTooLarge},
            {{QStringLiteral("/nonexistent/missing.iws")}, qt_error_string(ENOENT)},
        };
        for (const auto& [args, reason] : cases) {
            const Run r = run(QStringList{kExport} + args);
            QCOMPARE(r.exitCode, 1);
            QCOMPARE(QString::fromLocal8Bit(r.out + r.err), reason.isEmpty()
                                                                ? QString(str::kExportOntoScript).arg(args[1])
                                                                : QString(str::kCannotRead).arg(args[0], reason));
            QCOMPARE(readFile(script), QByteArray("END\r\n"));
            QVERIFY(!QFile::exists(out));
        }
    }

    void failedWriteSaysWhyAndKeepsTheOldPage()
    {
        // A full disk, for a page written at once and one written in many
        // blocks: the page from before stays, and no half-written copy.
        const QString big = writeFile(path("big.iws"), readFile(kScript).repeated(2000));
        const QString kept = path("full/kept.html");
        QVERIFY(QDir().mkpath(path("full")));
        for (const QString& script : {kScript, big}) {
            writeFile(kept, "<p>the page from before</p>\n");
            const Run r = run({kExport, script, kept}, QString(), 1000);
            QCOMPARE(r.exitCode, 1);
            QCOMPARE(QString::fromLocal8Bit(r.err), QString(str::kCannotWrite).arg(kept, qt_error_string(EFBIG)));
            QCOMPARE(readFile(kept), QByteArray("<p>the page from before</p>\n"));
            QCOMPARE(QDir(path("full")).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.html"});
        }
        // A regular file where the page's folder should be.
        const QString page = writeFile(path("blocker"), QByteArray()) + QStringLiteral("/page.html");
        QCOMPARE(QString::fromLocal8Bit(run({kExport, kScript, page}).err),
                 QString(str::kCannotWrite).arg(page, qt_error_string(ENOTDIR)));
        // A full disk behind standard output.
        QCOMPARE(QString::fromLocal8Bit(run({kExport, kScript}, QStringLiteral("/dev/full")).err),
                 QString(str::kCannotWriteOutput).arg(qt_error_string(ENOSPC)));
    }

    // A save goes through a temporary file beside the target. Where the folder
    // takes none, a writable file is written in place, but only once the disk
    // holds room for all of it. A small save onto a full disk fails too.
    void saveIsWholeOrNothing()
    {
        const QString folder = path("ro");
        const QByteArray old = "the old script, longer than the new\r\n";
        QVERIFY(QDir().mkpath(folder));
        const QString file = writeFile(folder + QStringLiteral("/s.iws"), old);
        QVERIFY(setMode(m_dir.path(), 0755) && setMode(file, 0666) && setMode(folder, 0555));
        QString error;
        const auto saveOntoFullDisk = [&](const QByteArray& bytes) {
            const FileSizeLimit full(16);
            return atomicfile::write(file, bytes, &error);
        };
        {
            // With the rights of an ordinary user, also as root, whom no
            // folder's permissions stop.
            const bool root = geteuid() == 0 && seteuid(65534) == 0;
            const auto back = qScopeGuard([root] { QVERIFY(!root || seteuid(0) == 0); });
            if (::faccessat(AT_FDCWD, name(folder).constData(), W_OK, AT_EACCESS) == 0)
                QSKIP("Folder permissions do not stop this user: the save in place is out of reach");
            QVERIFY(!saveOntoFullDisk(QByteArray(100, 'x')));
            QCOMPARE(error, qt_error_string(EFBIG));
            QCOMPARE(readFile(file), old);
            QVERIFY2(atomicfile::write(file, "new\r\n", &error), qPrintable(error));
            QCOMPARE(readFile(file), QByteArray("new\r\n"));
        }
        QVERIFY(setMode(folder, 0700));
        QVERIFY(!saveOntoFullDisk(QByteArray(100, 'y')));
        QCOMPARE(error, qt_error_string(EFBIG));
        QCOMPARE(readFile(file), QByteArray("new\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("s.iws")});
    }

    // --check reports as compilers do; includes are found beside the script
    // or in the game folder of the launch settings.
    void checkPrintsTheHintsOfEachScript()
    {
        QVERIFY(QDir().mkpath(path("game")));
        writeFile(path("game/SHIPS.SHP"), "Escort:\n");
        writeFile(path("clean.iws"), "#INCLUDE ships.shp\nStart:\n\tBRA_IF Escort,TIMER_OUT\n\tBRA Start ; \"\n");
        writeFile(path("faulty.iws"), "A:\nA:\nBRA Nowhere\n");
        launch::LaunchSettings settings = launch::LaunchSettings::launchDefaults();
        settings.g_game = 1;
        settings.f_defi = path("game");
        QVERIFY(settings.write(ProfileStore::app()));

        Run r = run({"--check", path("clean.iws")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out + r.err, QByteArray());

        const QString faulty = path("faulty.iws");
        r = run({"--check", path("clean.iws"), faulty, path("missing.iws"), path("game")});
        QCOMPARE(r.exitCode, 2);  // an unreadable script outweighs hints
        QCOMPARE(QString::fromLocal8Bit(r.out),
                 faulty + ":1:1: warning: " + QString(str::kHintLabelTwice).arg("A").arg(2) + "\n" + faulty +
                     ":2:1: warning: " + QString(str::kHintLabelTwice).arg("A").arg(1) + "\n" + faulty +
                     ":3:5: warning: " + QString(str::kHintNoLabel).arg("Nowhere") + "\n");
        QVERIFY(r.err.contains(name(path("missing.iws"))) && r.err.contains(name(path("game"))));

        QCOMPARE(run({"--check", faulty}).exitCode, 1);
        // Without the game folder the include is not found, and says so.
        settings.g_game = -1;
        QVERIFY(settings.write(ProfileStore::app()));
        r = run({"--check", path("clean.iws")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains("ships.shp") && r.out.contains(":3:9: warning: "), r.out.constData());
    }

    void informationAndErrors()
    {
        const QString version = QString(str::kProductDescription) + ' ' + str::kVersion + '\n';
        const std::tuple<QStringList, int, QString, QString> cases[] = {
            {{"--help"}, 0, str::kUsage, {}},
            {{"x.iws", "--help"}, 0, str::kUsage, {}},  // help wins over a script
            {{"--version"}, 0, version, {}},
            {{"x.iws", "--bogus"}, 2, {}, QString(str::kUnknownOption).arg("--bogus")},
            {{"--export-html"}, 2, {}, str::kMissingScript},
            {{"--export-html", "a.iws", "a.html", "extra"}, 2, {}, QString(str::kUnknownOption).arg("extra")},
            {{"--check"}, 2, {}, str::kCheckMissingScript},
        };
        for (const auto& [args, exitCode, out, err] : cases) {
            const Run r = run(args);
            QVERIFY2(r.exitCode == exitCode, qPrintable(args.join(u' ')));
            QCOMPARE(QString::fromLocal8Bit(r.out + r.err), out + err);
        }
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
