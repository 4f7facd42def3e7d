// The settings store on the real settings file in a temporary
// XDG_CONFIG_HOME: what goes in comes out of the file again, a damaged file
// reads as defaults, and a store that cannot be written says so and keeps
// what it held.
#include "common/FileSizeLimit.h"
#include "common/TestEnv.h"
#include "platform/ProfileStore.h"

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

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A store on a copy of the settings file: it reads what the file holds, not
// what the process's own store still has in memory for that file.
std::unique_ptr<ProfileStore> fromDisk(const TestEnv& env)
{
    static int copies = 0;
    const QString copy = env.root() + QStringLiteral("/copy%1.conf").arg(++copies);
    QFile::copy(env.settingsFile(), copy);
    return std::make_unique<ProfileStore>(copy);
}

}  // namespace

class TestProfileStore : public QObject {
    Q_OBJECT
    TestEnv m_env;

private slots:
    void init() { m_env.resetSettings(); }

    void intsRoundTripAndMissingOnesGiveDefaults()
    {
        ProfileStore& store = ProfileStore::app();
        QCOMPARE(store.filePath(), m_env.configHome() + QStringLiteral("/Vantrel/Vantrel.conf"));
        QCOMPARE(store.getInt(kSection, QStringLiteral("Keywords"), -7), -7);
        // A string is no int, and an entry of one section is missing in another.
        QVERIFY(store.writeString(kOther, QStringLiteral("Keywords"), QStringLiteral("text")));
        QCOMPARE(store.getInt(kOther, QStringLiteral("Keywords"), 42), 42);
        QCOMPARE(store.getInt(kSection, QStringLiteral("Keywords"), 42), 42);
        for (int value : {0, 0x00FF8000, -1, INT_MIN, INT_MAX}) {
            QVERIFY(store.writeInt(kSection, QStringLiteral("Keywords"), value));
            QCOMPARE(store.getInt(kSection, QStringLiteral("Keywords"), 1), value);
            QCOMPARE(fromDisk(m_env)->getInt(kSection, QStringLiteral("Keywords"), 1), value);
            // Stored as a number, not as text or a typed blob.
            const QByteArray file = fileBytes(m_env.settingsFile());
            QVERIFY2(file.contains("Keywords=" + QByteArray::number(value) + "\n"), file.constData());
        }
    }

    void stringsRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("null deletes") << QString();
        QTest::newRow("empty") << QStringLiteral("");
        QTest::newRow("commas") << QStringLiteral("CAMERA CamWep,CAM_CHASE,DreadShip,0,0,-20000");
        QTest::newRow("quotes") << QStringLiteral("REGLOAD DreadMd,\"\\psg\\x.lwo\",LWO2BRM \"");
        QTest::newRow("at sign first") << QStringLiteral("@Variant(\\0\\0\\0\\x7f)");
        QTest::newRow("INI signs") << QStringLiteral("; # a=b==c =;\n[General]\n[Syntax Colours]");
        QTest::newRow("line breaks") << QStringLiteral("line one\nline two\r\nline three\r\n\n");
        QTest::newRow("blanks around") << QStringLiteral("  \t padded \t  ");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Games\\IWar\\ \\\\ \\n \\x41 \\");
        QTest::newRow("non-ASCII") << QString::fromUtf8("caf\u00e9 \u20ac \u00df \u4e2d \U0001F600 \u2028");
        QTest::newRow("control characters") << QString::fromUtf8("\x01\x02\x1b\x7f");
        QString big;
        for (int i = 0; i < 10000; ++i)
            big += QChar(u"WAIT \",;=@\n\u00e9\t"[i % 12]);
        QTest::newRow("10,000 characters") << big;
    }

    void stringsRoundTrip()
    {
        QFETCH(QString, value);
        ProfileStore& store = ProfileStore::app();
        QVERIFY(store.writeString(kOther, QStringLiteral("Code5"), QStringLiteral("old")));
        QVERIFY(store.writeString(kOther, QStringLiteral("Code5"), value));
        QVERIFY(store.writeInt(kOther, QStringLiteral("After"), 7));
        QVERIFY(store.writeString(kOther, QStringLiteral("Code6"), QString()));  // nothing there: no failure
        const QString expected = value.isNull() ? QStringLiteral("default") : value;
        QCOMPARE(store.getString(kOther, QStringLiteral("Code5"), QStringLiteral("default")), expected);
        const auto fresh = fromDisk(m_env);
        QCOMPARE(fresh->getString(kOther, QStringLiteral("Code5"), QStringLiteral("default")), expected);
        QCOMPARE(fileBytes(m_env.settingsFile()).contains("Code5"), !value.isNull());
        // The value did not spill into the entries around it.
        QCOMPARE(fresh->getInt(kOther, QStringLiteral("After"), 0), 7);
        QCOMPARE(fresh->getString(kOther, QStringLiteral("Code6"), QStringLiteral("default")),
                 QStringLiteral("default"));
    }

    void corruptFileReadsAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char((i * 7919) & 0xFF);
        QTest::newRow("binary") << binary;
        QTest::newRow("bad UTF-8") << QByteArray("[Syntax%20Colours]\n\xff\xfe\xc3=\x80\x80\n");
        QTest::newRow("broken lines") << QByteArray(
            "[[[Syntax Colours\n]]]\n=\n==\n[\n[Syntax%20Colours]\nKeywords 12\n");
        QTest::newRow("not numbers") << QByteArray(
            "[Syntax%20Colours]\nCommands=blue\nKeywords=\"12\nStrings=@Variant(\\0)\n");
        QTest::newRow("unclosed quote") << QByteArray("[Code%20Snippet%20Library]\nName0=\"abc\nName1=x\n");
        QTest::newRow("NUL bytes") << QByteArray("[Syntax%20Colours]\nComm\0ands=1\n\0\0\0", 32);
    }

    void corruptFileReadsAsDefaults()
    {
        QFETCH(QByteArray, content);
        QVERIFY(writeFile(m_env.settingsFile(), content));
        ProfileStore::reopenApp();
        ProfileStore& store = ProfileStore::app();
        for (const char* entry : {"Commands", "Keywords", "Strings"})
            QCOMPARE(store.getInt(kSection, QLatin1String(entry), 0x00FF8000), 0x00FF8000);
        store.getString(kOther, QStringLiteral("Name0"), QStringLiteral("none"));  // whatever it makes of it, no crash
        // The user's next changes are kept, and said to be.
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

    void parentIsAFileFailsQuietly()
    {
        // No one can create the store's folder or a file in it, not even root.
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

    void fullDiskKeepsOldFile()
    {
        ProfileStore& store = ProfileStore::app();
        {
            // Where there was no file, a half-written one is not left either.
            FileSizeLimit full(4096);
            QVERIFY(!store.writeString(kOther, QStringLiteral("Code1"), QString(20000, QLatin1Char('x'))));
        }
        QVERIFY(!QFile::exists(m_env.settingsFile()));
        QVERIFY(store.writeInt(kSection, QStringLiteral("Commands"), 0x00FF8000));
        QVERIFY(store.writeString(kOther, QStringLiteral("Code0"), QStringLiteral("WAIT_TIME 100\n")));
        QVERIFY(store.writeString(kOther, QStringLiteral("Code1"), QString(20000, QLatin1Char('x'))));
        const QByteArray before = fileBytes(m_env.settingsFile());
        // 4096: room for the small lock file beside the settings, not for the new
        // settings file, so the write breaks off half-way. 0: not even the lock.
        for (rlim_t limit : {4096, 0}) {
            {
                FileSizeLimit full(limit);
                QVERIFY(full.ok());
                QVERIFY(!store.writeInt(kSection, QStringLiteral("Commands"), 1));
                QVERIFY(!store.writeString(kOther, QStringLiteral("Code0"), QStringLiteral("lost")));
                QVERIFY(!store.writeString(kOther, QStringLiteral("Code0"), QString()));
            }
            QCOMPARE(fileBytes(m_env.settingsFile()), before);
            const QStringList files =
                QDir(QFileInfo(m_env.settingsFile()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
            QCOMPARE(files, QStringList{QStringLiteral("Vantrel.conf")});
        }
        // Once the disk takes writes again, the failures are not held against
        // the next write.
        QVERIFY(store.writeInt(kSection, QStringLiteral("Keywords"), 4));
        QCOMPARE(fromDisk(m_env)->getInt(kSection, QStringLiteral("Keywords"), 0), 4);
    }
};

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
