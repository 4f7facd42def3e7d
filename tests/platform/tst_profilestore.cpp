// The settings store on the real settings file in a temporary
// XDG_CONFIG_HOME: what goes in comes out of the file again, a damaged file
// reads as defaults, and a store that cannot be written says so and keeps
// what it held.
#include "common/FileSizeLimit.h"
#include "common/TestEnv.h"
#include "platform/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <climits>

namespace {

const QString kSection = QStringLiteral("Syntax Colours");
const QString kOther = QStringLiteral("Code Snippet Library");

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A store on a copy of the settings file: it reads what the file holds, not
// what the process's own store still has in memory for that file.
std::unique_ptr<ProfileStore> fromDisk(const TestEnv& env)
{
    static int copies = 0;
    const QString copy = env.root() + QStringLiteral("/copy%1.conf").arg(++copies);
    QFile::remove(copy);
    if (!QFile::copy(env.settingsFile(), copy))
        qWarning("no settings file to copy");
    return std::make_unique<ProfileStore>(copy);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace

class TestProfileStore : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env.resetSettings(); }

    void fileLivesInConfigHome();
    void missingEntriesGiveDefaults();
    void intsRoundTrip_data();
    void intsRoundTrip();
    void stringsRoundTrip_data();
    void stringsRoundTrip();
    void nullStringDeletes();
    void corruptFileReadsAsDefaults_data();
    void corruptFileReadsAsDefaults();
    void unwritableFolderFailsQuietly();
    void failedWriteKeepsOldFile();

private:
    TestEnv m_env;
};

void TestProfileStore::fileLivesInConfigHome()
{
    QVERIFY(ProfileStore::app().writeInt(kSection, QStringLiteral("Commands"), 5));
    const QString expected = m_env.configHome() + QStringLiteral("/Vantrel/Vantrel.conf");
    QCOMPARE(ProfileStore::app().filePath(), expected);
    QVERIFY(QFile::exists(expected));
    // Entry names keep their blanks for whoever reads the store back.
    QCOMPARE(fromDisk(m_env)->getInt(kSection, QStringLiteral("Commands"), 0), 5);
}

void TestProfileStore::missingEntriesGiveDefaults()
{
    ProfileStore& store = ProfileStore::app();
    QCOMPARE(store.getInt(kSection, QStringLiteral("Commands"), 0x00FF8000), 0x00FF8000);
    QCOMPARE(store.getInt(kSection, QStringLiteral("Commands"), -7), -7);
    QCOMPARE(store.getString(kOther, QStringLiteral("Name0"), QStringLiteral("none")), QStringLiteral("none"));
    QVERIFY(store.getString(kOther, QStringLiteral("Name0")).isNull());

    // An entry of one section is missing in another, and a string is no int.
    QVERIFY(store.writeString(kOther, QStringLiteral("Commands"), QStringLiteral("text")));
    QCOMPARE(store.getInt(kSection, QStringLiteral("Commands"), 42), 42);
    QCOMPARE(store.getInt(kOther, QStringLiteral("Commands"), 42), 42);
    QVERIFY(!QFile::exists(m_env.settingsFile()) || !fileBytes(m_env.settingsFile()).contains("42"));
}

void TestProfileStore::intsRoundTrip_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << 0;
    QTest::newRow("colour") << 0x00FF8000;
    QTest::newRow("minus one") << -1;
    QTest::newRow("smallest") << INT_MIN;
    QTest::newRow("largest") << INT_MAX;
    QTest::newRow("top byte set") << int(0x7F000001);
}

void TestProfileStore::intsRoundTrip()
{
    QFETCH(int, value);
    QVERIFY(ProfileStore::app().writeInt(kSection, QStringLiteral("Keywords"), value));
    QCOMPARE(ProfileStore::app().getInt(kSection, QStringLiteral("Keywords"), 1), value);
    QCOMPARE(fromDisk(m_env)->getInt(kSection, QStringLiteral("Keywords"), 1), value);
    // Stored as a number, not as text or a typed blob.
    QVERIFY2(fileBytes(m_env.settingsFile()).contains("Keywords=" + QByteArray::number(value) + "\n"),
             fileBytes(m_env.settingsFile()).constData());
}

void TestProfileStore::stringsRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QStringLiteral("WAIT_TIME 100");
    QTest::newRow("empty") << QStringLiteral("");
    QTest::newRow("commas") << QStringLiteral("CAMERA CamWep,CAM_CHASE,DreadShip,0,0,-20000");
    QTest::newRow("comma and blank") << QStringLiteral("a, b");
    QTest::newRow("quotes") << QStringLiteral("REGLOAD DreadMd,\"\\psg\\x.lwo\",LWO2BRM \"");
    QTest::newRow("at sign first") << QStringLiteral("@Variant(\\0\\0\\0\\x7f)");
    QTest::newRow("at signs") << QStringLiteral("@@ @ a@b");
    QTest::newRow("equals") << QStringLiteral("a=b==c =");
    QTest::newRow("semicolons") << QStringLiteral("; comment ;; x;");
    QTest::newRow("hash") << QStringLiteral("# not a comment");
    QTest::newRow("brackets") << QStringLiteral("[General]\n[Syntax Colours]");
    QTest::newRow("line breaks") << QStringLiteral("line one\nline two\r\nline three\r\n\n");
    QTest::newRow("blanks around") << QStringLiteral("  \t padded \t  ");
    QTest::newRow("only blanks") << QStringLiteral("   ");
    QTest::newRow("backslashes") << QStringLiteral("C:\\Games\\IWar\\ \\\\ \\n \\x41 \\");
    QTest::newRow("non-ASCII") << QString::fromUtf8("caf\u00e9 \u20ac \u00df \u4e2d \U0001F600 \u2028");
    QTest::newRow("control characters") << QString::fromUtf8("\x01\x02\x1b\x7f");
    QTest::newRow("number-like") << QStringLiteral("0x10");
    QTest::newRow("boolean-like") << QStringLiteral("true");
    QTest::newRow("list-like") << QStringLiteral("a,b,c");
    QString big;
    for (int i = 0; i < 10000; ++i)
        big += QChar(u"WAIT \",;=@\n\u00e9\t"[i % 12]);
    QTest::newRow("10,000 characters") << big;
}

void TestProfileStore::stringsRoundTrip()
{
    QFETCH(QString, value);
    QVERIFY(ProfileStore::app().writeString(kOther, QStringLiteral("Code5"), value));
    QVERIFY(ProfileStore::app().writeInt(kOther, QStringLiteral("After"), 7));
    QCOMPARE(ProfileStore::app().getString(kOther, QStringLiteral("Code5"), QStringLiteral("default")), value);
    const auto fresh = fromDisk(m_env);
    const QString read = fresh->getString(kOther, QStringLiteral("Code5"), QStringLiteral("default"));
    QCOMPARE(read.size(), value.size());
    QCOMPARE(read, value);
    // The value did not spill into the entries around it.
    QCOMPARE(fresh->getInt(kOther, QStringLiteral("After"), 0), 7);
    QCOMPARE(fresh->getString(kOther, QStringLiteral("Code6"), QStringLiteral("default")), QStringLiteral("default"));
}

void TestProfileStore::nullStringDeletes()
{
    ProfileStore& store = ProfileStore::app();
    QVERIFY(store.writeString(kOther, QStringLiteral("Name1"), QStringLiteral("Patrol")));
    QVERIFY(store.writeString(kOther, QStringLiteral("Name2"), QStringLiteral("Escort")));
    QVERIFY(store.writeString(kOther, QStringLiteral("Name1"), QString()));
    QCOMPARE(store.getString(kOther, QStringLiteral("Name1"), QStringLiteral("gone")), QStringLiteral("gone"));
    const auto fresh = fromDisk(m_env);
    QCOMPARE(fresh->getString(kOther, QStringLiteral("Name1"), QStringLiteral("gone")), QStringLiteral("gone"));
    QCOMPARE(fresh->getString(kOther, QStringLiteral("Name2")), QStringLiteral("Escort"));
    QVERIFY(!fileBytes(m_env.settingsFile()).contains("Name1"));
    // An empty string is a value, not a deletion.
    QVERIFY(store.writeString(kOther, QStringLiteral("Name2"), QStringLiteral("")));
    const QString empty = fromDisk(m_env)->getString(kOther, QStringLiteral("Name2"), QStringLiteral("gone"));
    QVERIFY(empty.isEmpty());
    // Deleting what is not there is no failure.
    QVERIFY(store.writeString(kOther, QStringLiteral("Name9"), QString()));
}

void TestProfileStore::corruptFileReadsAsDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 7919) & 0xFF);
    QTest::newRow("binary") << binary;
    QTest::newRow("bad UTF-8") << QByteArray("[Syntax%20Colours]\n\xff\xfe\xc3=\x80\x80\n");
    QTest::newRow("broken brackets") << QByteArray("[[[Syntax Colours\n]]]\n=\n==\n[\n");
    QTest::newRow("no equals") << QByteArray("[Syntax%20Colours]\nCommands\nKeywords 12\n");
    QTest::newRow("not numbers") << QByteArray("[Syntax%20Colours]\nCommands=blue\nKeywords=\"12\nStrings=@Variant(\\0)\n");
    QTest::newRow("unclosed quote") << QByteArray("[Code%20Snippet%20Library]\nName0=\"abc\nName1=x\n");
    QTest::newRow("NUL bytes") << QByteArray("[Syntax%20Colours]\nComm\0ands=1\n\0\0\0", 32);
    QTest::newRow("one long line") << QByteArray(300000, 'x');
}

void TestProfileStore::corruptFileReadsAsDefaults()
{
    QFETCH(QByteArray, content);
    QVERIFY(writeFile(m_env.settingsFile(), content));
    ProfileStore::reopenApp();
    ProfileStore& store = ProfileStore::app();
    QCOMPARE(store.getInt(kSection, QStringLiteral("Commands"), 0x00FF8000), 0x00FF8000);
    QCOMPARE(store.getInt(kSection, QStringLiteral("Keywords"), 0x00C86464), 0x00C86464);
    QCOMPARE(store.getInt(kSection, QStringLiteral("Strings"), 0x003060C0), 0x003060C0);
    store.getString(kOther, QStringLiteral("Name0"), QStringLiteral("none"));  // whatever it makes of it, no crash
    // The user's next changes are kept, and said to be, whatever the file
    // held before.
    QVERIFY(store.writeInt(kSection, QStringLiteral("Labels"), 0x00408080));
    QVERIFY(store.writeString(kOther, QStringLiteral("Name3"), QStringLiteral("Escort")));
    const auto fresh = fromDisk(m_env);
    QCOMPARE(fresh->getInt(kSection, QStringLiteral("Labels"), 0), 0x00408080);
    QCOMPARE(fresh->getString(kOther, QStringLiteral("Name3")), QStringLiteral("Escort"));
    // And a write that fails after all is still reported.
    const QByteArray before = fileBytes(m_env.settingsFile());
    {
        FileSizeLimit full(0);
        QVERIFY(full.ok());
        QVERIFY(!store.writeInt(kSection, QStringLiteral("Labels"), 1));
    }
    QCOMPARE(fileBytes(m_env.settingsFile()), before);
}

void TestProfileStore::unwritableFolderFailsQuietly()
{
    // A regular file where the store's folder would be: no one can create
    // the folder or a file in it, not even root.
    const QString blocker = m_env.root() + QStringLiteral("/blocker");
    QVERIFY(writeFile(blocker, "a file, not a folder\n"));
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", blocker.toLocal8Bit());
    ProfileStore::reopenApp();
    ProfileStore& store = ProfileStore::app();
    QVERIFY(store.filePath().startsWith(blocker + QLatin1Char('/')));
    QVERIFY(!store.writeInt(kSection, QStringLiteral("Commands"), 1));
    QVERIFY(!store.writeString(kOther, QStringLiteral("Name0"), QStringLiteral("x")));
    store.beginBatch();
    store.writeInt(kSection, QStringLiteral("Strings"), 2);
    QVERIFY(!store.commitBatch());
    QCOMPARE(store.getInt(kSection, QStringLiteral("Keywords"), 3), 3);
    QCOMPARE(fileBytes(blocker), QByteArray("a file, not a folder\n"));
    qputenv("XDG_CONFIG_HOME", saved);
    ProfileStore::reopenApp();
}

void TestProfileStore::failedWriteKeepsOldFile()
{
    ProfileStore& store = ProfileStore::app();
    QVERIFY(store.writeInt(kSection, QStringLiteral("Commands"), 0x00FF8000));
    QVERIFY(store.writeString(kOther, QStringLiteral("Code0"), QStringLiteral("WAIT_TIME 100\n")));
    QVERIFY(store.writeString(kOther, QStringLiteral("Code1"), QString(20000, QLatin1Char('x'))));
    const QByteArray before = fileBytes(m_env.settingsFile());
    QVERIFY(before.size() > 20000);
    {
        // Room for the small lock file beside the settings, not for the
        // new settings file: the write breaks off half-way.
        FileSizeLimit full(4096);
        QVERIFY(full.ok());
        QVERIFY(!store.writeInt(kSection, QStringLiteral("Commands"), 1));
        QVERIFY(!store.writeString(kOther, QStringLiteral("Code0"), QStringLiteral("lost")));
        QVERIFY(!store.writeString(kOther, QStringLiteral("Code0"), QString()));
    }
    QCOMPARE(fileBytes(m_env.settingsFile()), before);
    const QStringList leftovers =
        QDir(QFileInfo(m_env.settingsFile()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(leftovers, QStringList{QStringLiteral("Vantrel.conf")});
    const auto fresh = fromDisk(m_env);
    QCOMPARE(fresh->getInt(kSection, QStringLiteral("Commands"), 0), 0x00FF8000);
    QCOMPARE(fresh->getString(kOther, QStringLiteral("Code0")), QStringLiteral("WAIT_TIME 100\n"));
    // Once the disk takes writes again, the next write succeeds.
    QVERIFY(store.writeInt(kSection, QStringLiteral("Commands"), 2));
    QCOMPARE(fromDisk(m_env)->getInt(kSection, QStringLiteral("Commands"), 0), 2);

    // Not even the lock file beside the settings can be written: the store
    // knows at once. The failure is not held against the writes after it.
    {
        FileSizeLimit full(0);
        QVERIFY(!store.writeInt(kSection, QStringLiteral("Commands"), 3));
    }
    QCOMPARE(fromDisk(m_env)->getInt(kSection, QStringLiteral("Commands"), 0), 2);
    QVERIFY(store.writeInt(kSection, QStringLiteral("Keywords"), 4));
    QCOMPARE(fromDisk(m_env)->getInt(kSection, QStringLiteral("Keywords"), 0), 4);
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
