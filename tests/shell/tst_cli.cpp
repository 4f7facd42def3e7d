// The program's jobs without a window, run as a real process: the HTML
// export, --help, --version and bad command lines.
#include "common/FileSizeLimit.h"
#include "common/TestEnv.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QtTest>

#include <optional>

namespace {

const QString kProgram = QStringLiteral(VANTREL_BINARY_DIR "/src/vantrel");
const QString kScript = QStringLiteral(VANTREL_TEST_DATA "/export/every_class.iws");
const QString kExport = QStringLiteral("--export-html");

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
    TestEnv m_env;
    QTemporaryDir m_dir;

    // fileSizeLimit: no file of the program may grow past it, as on a full disk.
    Run run(const QStringList& args, const QString& outputFile = QString(), rlim_t fileSizeLimit = RLIM_INFINITY) const
    {
        QProcess p;  // killed on leaving, should it hang
        if (!outputFile.isEmpty())
            p.setStandardOutputFile(outputFile);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_env.configHome());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_env.dataHome());
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})  // these jobs need no display
            env.remove(QLatin1String(name));
        p.setProcessEnvironment(env);
        {
            std::optional<FileSizeLimit> full;  // the child inherits it as it starts
            if (fileSizeLimit != RLIM_INFINITY)
                full.emplace(fileSizeLimit);
            p.start(kProgram, args);
        }
        const bool ended = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
        return {ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
    }

private slots:
    void init() { m_env.resetSettings(); }

    void exportWritesTheExpectedPage()
    {
        QByteArray expected = fileBytes(QStringLiteral(VANTREL_TEST_DATA "/export/every_class.html"));
        QVERIFY(!expected.isEmpty());
        const QString out = m_dir.filePath(QStringLiteral("page.html"));
        // To a new file, over an older and longer page, and to standard output.
        for (bool replace : {false, true}) {
            if (replace)
                QVERIFY(writeFile(out, QByteArray(100000, 'x')));
            const Run r = run({kExport, kScript, out});
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.out + r.err, QByteArray());
            QCOMPARE(fileBytes(out).split('\n'), expected.split('\n'));  // names the first line that differs
        }
        Run r = run({kExport, kScript});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out.split('\n'), expected.split('\n'));
        // Exporting reads the settings; it writes none.
        QVERIFY(!QFile::exists(m_env.settingsFile()));

        // The colours the editor stored.
        QVERIFY(ProfileStore::app().writeInt(QStringLiteral("Syntax Colours"), QStringLiteral("Commands"), 0x00123456));
        QVERIFY(ProfileStore::app().writeInt(QStringLiteral("Syntax Colours"), QStringLiteral("Comments"), 0x00ABCDEF));
        r = run({kExport, kScript});
        QVERIFY(expected.contains("color:#0080ff") && expected.contains("color:#649664"));
        expected.replace("color:#0080ff", "color:#563412").replace("color:#649664", "color:#efcdab");
        QCOMPARE(r.out.split('\n'), expected.split('\n'));
    }

    void unreadableScript()
    {
        const QString out = m_dir.filePath(QStringLiteral("never.html"));
        for (const QString& script : {QStringLiteral("/nonexistent/missing.iws"), QStringLiteral(VANTREL_TEST_DATA)}) {
            for (const QStringList& args : {QStringList{kExport, script, out}, QStringList{kExport, script}}) {
                const Run r = run(args);
                QCOMPARE(r.exitCode, 1);
                QCOMPARE(r.out, QByteArray());
                QVERIFY2(r.err.count('\n') == 1 && r.err.endsWith('\n') && r.err.contains(script.toLocal8Bit()),
                         r.err.constData());
                QVERIFY(!QFile::exists(out));
            }
        }
    }

    void failedWriteSaysSoAndKeepsTheOldPage()
    {
        const auto fails = [](const Run& r, const QString& named) {
            QCOMPARE(r.exitCode, 1);
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY2(r.err.startsWith("vantrel: ") && r.err.contains(named.toLocal8Bit()), r.err.constData());
        };
        // A full disk: the page from before stays, and no half-written copy.
        const QString kept = m_dir.filePath(QStringLiteral("kept.html"));
        QVERIFY(writeFile(kept, "<p>the page from before</p>\n"));
        fails(run({kExport, kScript, kept}, QString(), 1000), kept);
        QCOMPARE(fileBytes(kept), QByteArray("<p>the page from before</p>\n"));
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("kept.html*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("kept.html")});

        // A regular file where the page's folder should be.
        const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
        QVERIFY(writeFile(blocker, QByteArray()));
        const Run r = run({kExport, kScript, blocker + QStringLiteral("/page.html")});
        fails(r, blocker + QStringLiteral("/page.html"));
        QCOMPARE(r.out + fileBytes(blocker), QByteArray());

        // A full disk behind standard output.
        if (QFile::exists(QStringLiteral("/dev/full")))
            fails(run({kExport, kScript}, QStringLiteral("/dev/full")), QString());
    }

    void informationAndErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString usage = str::kUsage;
        const QString version = QString(str::kProductDescription) + ' ' + str::kVersion + '\n';
        const QString unknown = str::kUnknownOption;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
        QTest::newRow("help wins over a script") << QStringList{"x.iws", "--help"} << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version << QString();
        QTest::newRow("unknown option") << QStringList{"x.iws", "--bogus"} << 2 << QString() << unknown.arg("--bogus");
        QTest::newRow("export without a script")
            << QStringList{"--export-html"} << 2 << QString() << QString(str::kMissingScript);
        QTest::newRow("export with one argument too many")
            << QStringList{"--export-html", "a.iws", "a.html", "extra"} << 2 << QString() << unknown.arg("extra");
        QTest::newRow("two scripts") << QStringList{"a.iws", "b.iws"} << 2 << QString() << unknown.arg("b.iws");
    }
    void informationAndErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run r = run(args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(QString::fromLocal8Bit(r.out), out);
        QCOMPARE(QString::fromLocal8Bit(r.err), err);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
