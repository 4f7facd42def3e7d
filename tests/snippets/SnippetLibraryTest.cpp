// The snippet slots against the real settings file.
#include "common/TestEnv.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"
#include "snippets/SnippetLibrary.h"

#include <QTest>

namespace {

const QString kSection(str::kSectionSnippets);

}  // namespace

class SnippetLibraryTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_env.resetSettings(); }

    void freeSlotIsTheLowestUnnamedInTheStore()
    {
        ProfileStore& store = ProfileStore::app();
        SnippetLibrary lib;
        QCOMPARE(SnippetLibrary::findFreeSlot(store), 0);

        // Empty description and code are written, not left out.
        lib.store(store, 0, QStringLiteral("Intro"), QString(), QString());
        const QString file = m_env.settingsText();
        QVERIFY2(file.contains("name0=Intro") && file.contains("desc0=") && file.contains("code0="), qPrintable(file));
        QCOMPARE(SnippetLibrary::findFreeSlot(store), 1);

        // The store is asked, not memory: slots taken or freed behind the library's back.
        store.writeString(kSection, QStringLiteral("name1"), QStringLiteral("elsewhere"));
        QCOMPARE(SnippetLibrary::findFreeSlot(store), 2);
        store.writeString(kSection, QStringLiteral("name0"), QString(""));  // texts without a name: free
        QCOMPARE(SnippetLibrary::findFreeSlot(store), 0);

        store.beginBatch();
        for (int i = 0; i <= SnippetLibrary::kSlotCount; ++i)
            lib.store(store, i, QStringLiteral("s%1").arg(i), "", "");
        store.commitBatch();
        QCOMPARE(SnippetLibrary::findFreeSlot(store), SnippetLibrary::kNoSlot);
        QCOMPARE(stored(QStringLiteral("name128")), QStringLiteral("-"));  // there is no slot 128
        store.writeString(kSection, QStringLiteral("name127"), QString());
        QCOMPARE(SnippetLibrary::findFreeSlot(store), 127);
    }

    void lookupWantsTheExactName()
    {
        SnippetLibrary lib;
        lib.store(ProfileStore::app(), 2, QStringLiteral("Intro"), "", "");
        QCOMPARE(lib.findSlot(QStringLiteral("Intro")), 2);
        // Free slots have empty names, but an empty text is no snippet.
        for (const QString& none : {QStringLiteral("INTRO"), QStringLiteral("Intro "), QString(), QStringLiteral("")})
            QCOMPARE(lib.findSlot(none), SnippetLibrary::kNoSlot);
    }

    void textsRoundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("code");
        const auto row = [](const char* tag, const QString& name, const QString& description, const QString& code) {
            QTest::newRow(tag) << name << description << code;
        };
        row("long name", QString(10000, u'x') + "end", "d", "c");
        row("line breaks and tabs", "Two lines", "first line\nsecond line\n",
            "\tGROUP 1\n\n\tCREATE_SHIP A,B,\"Ship\",CORVETTE,NAVY,0,0,0,0,0,0\r\n\tNEW_GROUP");
        row("list and ini syntax", "a, b, c", "key=value; [section] # not a comment", "\"Sol\",\"L4\" ; x = a\\b\\c");
        row("at signs", "@Variant(\\0\\0)", "@@double", "@ByteArray(abc)");
        row("blanks at the ends", "  padded  ", " \t lead", "trail \t ");
        row("windows-1252", QStringLiteral(u"Caf\u00e9 \u20ac \u00ff"),
            QStringLiteral(u"\u201ead\u201c \u2030 \u0160\u2122 \u00a9\u00df\u00e4"),
            QStringLiteral(u"; \u00bfQu\u00e9? \u00c6\u00d8\u00c5 \u2026 \u2013\u2014"));
        row("empty texts", "n", QString(), QString());
    }

    void textsRoundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QString, code);
        SnippetLibrary().store(ProfileStore::app(), 4, name, description, code);

        ProfileStore::reopenApp();  // a later start reads the file
        SnippetLibrary lib;
        lib.load(ProfileStore::app());
        QCOMPARE(lib.name(4), name);
        QCOMPARE(lib.description(4), description);
        QCOMPARE(lib.code(4), code);
        QCOMPARE(lib.findSlot(name), 4);
    }

private:
    static QString stored(const QString& entry) { return ProfileStore::app().getString(kSection, entry, "-"); }

    TestEnv m_env;
};

QTEST_GUILESS_MAIN(SnippetLibraryTest)
#include "SnippetLibraryTest.moc"
