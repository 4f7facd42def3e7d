// The snippet slots against the real settings file.
#include "common/TestEnv.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"
#include "snippets/SnippetLibrary.h"

#include <QTest>

namespace {

const QString kSection(str::kSectionSnippets);
const QString kMissing(QStringLiteral("<missing>"));

QString stored(const QString& entry) { return ProfileStore::app().getString(kSection, entry, kMissing); }

}  // namespace

class SnippetLibraryTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_env.resetSettings(); }

    void firstSnippetGoesToSlotZero();
    void freeSlotIsAskedOfTheStore();
    void fullLibraryHasNoFreeSlot();
    void lookupFindsHighestExactName();
    void onlyNamedPlainSlotsCount();
    void textsRoundTrip_data();
    void textsRoundTrip();

private:
    TestEnv m_env;
};

void SnippetLibraryTest::firstSnippetGoesToSlotZero()
{
    SnippetLibrary lib;
    lib.load(ProfileStore::app());
    for (int i = 0; i < SnippetLibrary::kSlotCount; ++i)
        QVERIFY(lib.name(i).isEmpty());
    QCOMPARE(SnippetLibrary::findFreeSlot(ProfileStore::app()), 0);

    // Empty description and code are written, not left out.
    lib.store(ProfileStore::app(), 0, QStringLiteral("Intro"), QString(), QString());
    QCOMPARE(stored(QStringLiteral("name0")), QLatin1String("Intro"));
    QCOMPARE(stored(QStringLiteral("desc0")), QString(""));
    QCOMPARE(stored(QStringLiteral("code0")), QString(""));
    const QString file = m_env.settingsText();
    QVERIFY2(file.contains(QLatin1String("name0=Intro")), qPrintable(file));
    QVERIFY2(file.contains(QLatin1String("desc0=")) && file.contains(QLatin1String("code0=")), qPrintable(file));
    QCOMPARE(lib.findSlot(QStringLiteral("Intro")), 0);
    QCOMPARE(SnippetLibrary::findFreeSlot(ProfileStore::app()), 1);
}

void SnippetLibraryTest::freeSlotIsAskedOfTheStore()
{
    ProfileStore& store = ProfileStore::app();
    SnippetLibrary lib;
    lib.load(store);
    // Slots taken or freed without this library knowing.
    store.writeString(kSection, QStringLiteral("name0"), QStringLiteral("elsewhere"));
    QCOMPARE(SnippetLibrary::findFreeSlot(store), 1);
    lib.store(store, 1, QStringLiteral("a"), QString(), QString());
    store.writeString(kSection, QStringLiteral("name0"), QString());
    QCOMPARE(SnippetLibrary::findFreeSlot(store), 0);
}

void SnippetLibraryTest::fullLibraryHasNoFreeSlot()
{
    ProfileStore& store = ProfileStore::app();
    SnippetLibrary lib;
    store.beginBatch();
    for (int i = 0; i < SnippetLibrary::kSlotCount; ++i)
        lib.store(store, i, QStringLiteral("s%1").arg(i), QString(), QString());
    store.commitBatch();
    QCOMPARE(SnippetLibrary::findFreeSlot(store), SnippetLibrary::kNoSlot);
    // Slot 127 is the last one, not one past it.
    store.writeString(kSection, QStringLiteral("name127"), QString());
    QCOMPARE(SnippetLibrary::findFreeSlot(store), 127);
    QCOMPARE(stored(QStringLiteral("name128")), kMissing);
}

void SnippetLibraryTest::lookupFindsHighestExactName()
{
    ProfileStore& store = ProfileStore::app();
    SnippetLibrary lib;
    lib.store(store, 2, QStringLiteral("Intro"), QStringLiteral("first"), QString());
    lib.store(store, 5, QStringLiteral("intro"), QStringLiteral("lower"), QString());
    lib.store(store, 9, QStringLiteral("Intro"), QStringLiteral("second"), QString());
    QCOMPARE(lib.findSlot(QStringLiteral("Intro")), 9);
    QCOMPARE(lib.findSlot(QStringLiteral("intro")), 5);
    QCOMPARE(lib.findSlot(QStringLiteral("INTRO")), SnippetLibrary::kNoSlot);
    QCOMPARE(lib.findSlot(QStringLiteral("Intro ")), SnippetLibrary::kNoSlot);
    // Free slots have empty names, but an empty text is no snippet.
    QCOMPARE(lib.findSlot(QString()), SnippetLibrary::kNoSlot);
    QCOMPARE(lib.findSlot(QStringLiteral("")), SnippetLibrary::kNoSlot);

    lib.remove(store, 9);
    QCOMPARE(lib.findSlot(QStringLiteral("Intro")), 2);
}

void SnippetLibraryTest::onlyNamedPlainSlotsCount()
{
    ProfileStore& store = ProfileStore::app();
    store.writeString(kSection, QStringLiteral("name128"), QStringLiteral("beyond"));
    store.writeString(kSection, QStringLiteral("name007"), QStringLiteral("padded"));
    store.writeString(kSection, QStringLiteral("code007"), QStringLiteral("padded"));
    // Slots 0 and 1 hold texts but no name: they are free.
    store.writeString(kSection, QStringLiteral("desc0"), QStringLiteral("old description"));
    store.writeString(kSection, QStringLiteral("code0"), QStringLiteral("old code"));
    store.writeString(kSection, QStringLiteral("name1"), QStringLiteral(""));
    SnippetLibrary lib;
    lib.load(store);
    for (int i = 0; i < SnippetLibrary::kSlotCount; ++i)
        QVERIFY2(lib.name(i).isEmpty(), qPrintable(QString::number(i)));
    QVERIFY(lib.code(7).isEmpty());
    QCOMPARE(lib.findSlot(QStringLiteral("padded")), SnippetLibrary::kNoSlot);

    QCOMPARE(SnippetLibrary::findFreeSlot(store), 0);
    lib.store(store, 0, QStringLiteral("n"), QStringLiteral("new description"), QStringLiteral("new code"));
    QCOMPARE(stored(QStringLiteral("desc0")), QLatin1String("new description"));
    QCOMPARE(stored(QStringLiteral("code0")), QLatin1String("new code"));
    QCOMPARE(SnippetLibrary::findFreeSlot(store), 1);
}

void SnippetLibraryTest::textsRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("code");

    QTest::newRow("plain") << QStringLiteral("Intro") << QStringLiteral("A description")
                           << QStringLiteral("\tWAIT_TIME 100");
    QTest::newRow("long name") << QString(10000, QLatin1Char('x')) + QStringLiteral("end") << QStringLiteral("d")
                               << QStringLiteral("c");
    QTest::newRow("line breaks and tabs")
        << QStringLiteral("Two lines") << QStringLiteral("first line\nsecond line\n")
        << QStringLiteral("\tGROUP 1\n\n\tCREATE_SHIP A,B,\"Ship\",CORVETTE,NAVY,0,0,0,0,0,0\r\n\tNEW_GROUP");
    QTest::newRow("list and ini syntax") << QStringLiteral("a, b, c")
                                         << QStringLiteral("key=value; [section] # not a comment, really")
                                         << QStringLiteral("\"quoted\",\"L4\" ; comment = x\\y\\z");
    QTest::newRow("at signs") << QStringLiteral("@Variant(\\0\\0)") << QStringLiteral("@@double")
                              << QStringLiteral("@ByteArray(abc)");
    QTest::newRow("blanks at the ends") << QStringLiteral("  padded  ") << QStringLiteral(" \t lead")
                                        << QStringLiteral("trail \t ");
    QTest::newRow("windows-1252") << QStringLiteral(u"Caf\u00e9 \u20ac \u00ff")
                                  << QStringLiteral(u"\u201ead\u201c \u2030 \u0160\u2122 \u00a9\u00df\u00e4")
                                  << QStringLiteral(u"; \u00bfQu\u00e9? \u00c6\u00d8\u00c5 \u2026 \u2013\u2014");
    QTest::newRow("empty texts") << QStringLiteral("n") << QString() << QString();
}

void SnippetLibraryTest::textsRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, code);
    {
        SnippetLibrary lib;
        lib.store(ProfileStore::app(), 4, name, description, code);
        QCOMPARE(lib.findSlot(name), 4);
    }
    // A later start: the store is opened again from the file.
    ProfileStore::reopenApp();
    SnippetLibrary lib;
    lib.load(ProfileStore::app());
    QCOMPARE(lib.name(4), name);
    QCOMPARE(lib.description(4), description);
    QCOMPARE(lib.code(4), code);
    QCOMPARE(lib.findSlot(name), 4);
    QCOMPARE(SnippetLibrary::findFreeSlot(ProfileStore::app()), 0);
}

QTEST_GUILESS_MAIN(SnippetLibraryTest)
#include "SnippetLibraryTest.moc"
