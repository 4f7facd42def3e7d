// The program's jobs without a window, run as a real process: the HTML
// export, --help, --version and bad command lines.
#include "common/TestEnv.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString kProgram = QStringLiteral(VANTREL_BINARY_DIR "/src/vantrel");
const QString kScript = QStringLiteral(VANTREL_TEST_DATA "/export/every_class.iws");
const QString kExpectedPage = QStringLiteral(VANTREL_TEST_DATA "/export/every_class.html");

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

// The first line where two pages differ, for a readable failure.
QString firstDifference(const QByteArray& expected, const QByteArray& actual)
{
    const QList<QByteArray> a = expected.split('\n');
    const QList<QByteArray> b = actual.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QByteArray la = i < a.size() ? a[i] : QByteArray("(no line)");
        const QByteArray lb = i < b.size() ? b[i] : QByteArray("(no line)");
        if (la != lb) {
            return QStringLiteral("line %1\n  expected: %2\n  actual:   %3")
                .arg(i + 1)
                .arg(QString::fromUtf8(la), QString::fromUtf8(lb));
        }
    }
    return QString();
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env.resetSettings(); }

    void exportToFile();
    void exportToStandardOutput();
    void exportUsesStoredColours();
    void unreadableScript_data();
    void unreadableScript();
    void unwritablePage();
    void fullStandardOutput();
    void fullDiskKeepsOldPage();
    void informationAndErrors_data();
    void informationAndErrors();

private:
    Run run(const QStringList& args, const QString& outputFile = QString(), long fileSizeLimit = -1) const;
    TestEnv m_env;
    QTemporaryDir m_dir;
};

// fileSizeLimit: no file of the program may grow past it, as on a full
// disk, whoever runs the tests.
Run TestCli::run(const QStringList& args, const QString& outputFile, long fileSizeLimit) const
{
    QProcess p;
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    if (fileSizeLimit >= 0) {
        p.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = rlim_t(fileSizeLimit);
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_env.configHome());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_env.dataHome());
    // These jobs need no display.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    p.setProcessEnvironment(env);
    p.start(kProgram, args);
    Run r;
    if (!p.waitForStarted(30000) || !p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        qWarning("%s did not run to its end", qPrintable(kProgram));
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

void TestCli::exportToFile()
{
    const QString out = m_dir.filePath(QStringLiteral("page.html"));
    QVERIFY(QFile::exists(kProgram));
    const Run r = run({QStringLiteral("--export-html"), kScript, out});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err, QByteArray());
    const QByteArray expected = fileBytes(kExpectedPage);
    QVERIFY(!expected.isEmpty());
    const QByteArray page = fileBytes(out);
    QVERIFY2(page == expected, qPrintable(firstDifference(expected, page)));
    // Exporting reads the settings; it writes none.
    QVERIFY(!QFile::exists(m_env.settingsFile()));

    // An older page is replaced.
    QFile old(out);
    QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write(QByteArray(100000, 'x'));
    old.close();
    QCOMPARE(run({QStringLiteral("--export-html"), kScript, out}).exitCode, 0);
    QCOMPARE(fileBytes(out), expected);
}

void TestCli::exportToStandardOutput()
{
    const Run r = run({QStringLiteral("--export-html"), kScript});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    const QByteArray expected = fileBytes(kExpectedPage);
    QVERIFY2(r.out == expected, qPrintable(firstDifference(expected, r.out)));
}

void TestCli::exportUsesStoredColours()
{
    // What the editor stored in the settings file, read by the other process.
    QVERIFY(ProfileStore::app().writeInt(QStringLiteral("Syntax Colours"), QStringLiteral("Commands"), 0x00123456));
    QVERIFY(ProfileStore::app().writeInt(QStringLiteral("Syntax Colours"), QStringLiteral("Comments"), 0x00ABCDEF));
    const Run r = run({QStringLiteral("--export-html"), kScript});
    QCOMPARE(r.exitCode, 0);
    QByteArray expected = fileBytes(kExpectedPage);
    QVERIFY(expected.contains("color:#0080ff") && expected.contains("color:#649664"));
    expected.replace("color:#0080ff", "color:#563412").replace("color:#649664", "color:#efcdab");
    QVERIFY2(r.out == expected, qPrintable(firstDifference(expected, r.out)));
}

void TestCli::unreadableScript_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("missing") << QStringLiteral("/nonexistent/missing.iws");
    QTest::newRow("folder") << QStringLiteral(VANTREL_TEST_DATA);
}

void TestCli::unreadableScript()
{
    QFETCH(QString, script);
    const QString out = m_dir.filePath(QStringLiteral("never.html"));
    for (const QStringList& args : {QStringList{QStringLiteral("--export-html"), script, out},
                                    QStringList{QStringLiteral("--export-html"), script}}) {
        const Run r = run(args);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.endsWith('\n'));
        QVERIFY2(r.err.contains(script.toLocal8Bit()), r.err.constData());
        QVERIFY(!QFile::exists(out));
    }
}

void TestCli::unwritablePage()
{
    // A regular file where the page's folder should be.
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QString out = blocker + QStringLiteral("/page.html");
    const Run r = run({QStringLiteral("--export-html"), kScript, out});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.contains(out.toLocal8Bit()), r.err.constData());
    QCOMPARE(fileBytes(blocker), QByteArray());
}

void TestCli::fullStandardOutput()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    const Run r = run({QStringLiteral("--export-html"), kScript}, QStringLiteral("/dev/full"));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.startsWith("vantrel: "), r.err.constData());
}

void TestCli::fullDiskKeepsOldPage()
{
    const QString out = m_dir.filePath(QStringLiteral("kept.html"));
    QFile old(out);
    QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("<p>the page from before</p>\n");
    old.close();
    const Run r = run({QStringLiteral("--export-html"), kScript, out}, QString(), 1000);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.contains(out.toLocal8Bit()), r.err.constData());
    QCOMPARE(fileBytes(out), QByteArray("<p>the page from before</p>\n"));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("kept.html*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("kept.html")});
}

void TestCli::informationAndErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString version = QString(str::kProductDescription) + QLatin1Char(' ') + str::kVersion + QLatin1Char('\n');
    QTest::newRow("--help") << QStringList{"--help"} << 0 << QString(str::kUsage) << QString();
    QTest::newRow("-h") << QStringList{"-h"} << 0 << QString(str::kUsage) << QString();
    QTest::newRow("help wins over a script") << QStringList{"x.iws", "--help"} << 0 << QString(str::kUsage)
                                             << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
    QTest::newRow("-v") << QStringList{"-v"} << 0 << version << QString();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QString()
                                    << QString(str::kUnknownOption).arg(QStringLiteral("--bogus"));
    QTest::newRow("unknown option after a script")
        << QStringList{"x.iws", "-q"} << 2 << QString() << QString(str::kUnknownOption).arg(QStringLiteral("-q"));
    QTest::newRow("export without a script") << QStringList{"--export-html"} << 2 << QString()
                                             << QString(str::kMissingScript);
    QTest::newRow("export with one argument too many")
        << QStringList{"--export-html", "a.iws", "a.html", "extra"} << 2 << QString()
        << QString(str::kUnknownOption).arg(QStringLiteral("extra"));
    QTest::newRow("two scripts") << QStringList{"a.iws", "b.iws"} << 2 << QString()
                                 << QString(str::kUnknownOption).arg(QStringLiteral("b.iws"));
}

void TestCli::informationAndErrors()
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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
