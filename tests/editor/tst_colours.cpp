// The six highlight colours and their entries in the settings store.
#include "common/TestEnv.h"
#include "editor/SyntaxColours.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"

#include <QtTest>

namespace {

const QString kSection = QStringLiteral("Syntax Colours");

// The entries in field order, with the built-in colours, the class each
// colours and the command that edits it.
struct Entry {
    const char* name;
    ColourRef defaultColour;
    ColourRef SyntaxColours::*field;
    TextClass cls;
    int commandId;
};
const Entry kEntries[] = {
    {"Regular Text", 0x00000000, &SyntaxColours::m_clrRegularText, TextClass::Regular, ids::ID_COLOUR_REGULAR_TEXT},
    {"Commands", 0x00FF8000, &SyntaxColours::m_clrCommands, TextClass::Command, ids::ID_COLOUR_COMMANDS},
    {"Keywords", 0x00C86464, &SyntaxColours::m_clrKeywords, TextClass::Keyword, ids::ID_COLOUR_KEYWORDS},
    {"Strings", 0x003060C0, &SyntaxColours::m_clrStrings, TextClass::String, ids::ID_COLOUR_STRINGS},
    {"Comments", 0x00649664, &SyntaxColours::m_clrComments, TextClass::Comment, ids::ID_COLOUR_COMMENTS},
    {"Labels", 0x00408080, &SyntaxColours::m_clrLabels, TextClass::Label, ids::ID_COLOUR_LABELS},
};

// A store reading the settings file afresh, not the process's cached view of it.
std::unique_ptr<ProfileStore> fromDisk(const TestEnv& env)
{
    static int copies = 0;
    const QString copy = env.root() + QStringLiteral("/colours%1.conf").arg(++copies);
    QFile::copy(env.settingsFile(), copy);
    return std::make_unique<ProfileStore>(copy);
}

}  // namespace

class TestColours : public QObject {
    Q_OBJECT
    TestEnv m_env;

private slots:
    void init() { m_env.resetSettings(); }

    void defaultsOnEmptyStoreAreWrittenInFull()
    {
        SyntaxColours colours;
        for (const Entry& e : kEntries)
            colours.*e.field = 0x00123456;
        colours.read(ProfileStore::app());
        QVERIFY(!QFile::exists(m_env.settingsFile()));  // reading writes nothing
        for (const Entry& e : kEntries) {
            QCOMPARE(colours.*e.field, e.defaultColour);
            QCOMPARE(colours.forClass(e.cls), e.defaultColour);
            QCOMPARE(&colours.field(e.commandId), &(colours.*e.field));
        }
        // Unchanged defaults are written too: a first run leaves all six, under
        // the section and entry names a reader of the file expects.
        QVERIFY(colours.write(ProfileStore::app()));
        const auto disk = fromDisk(m_env);
        for (const Entry& e : kEntries)
            QCOMPARE(ColourRef(disk->getInt(kSection, QLatin1String(e.name), 7)), e.defaultColour);
        const QString text = m_env.settingsText();
        QVERIFY2(text.contains(QLatin1String("[Syntax%20Colours]")), qPrintable(text));
        QVERIFY2(text.contains(QLatin1String("Regular%20Text=0")), qPrintable(text));
    }

    void storedValuesUsedUnchanged()
    {
        for (ColourRef value : {0x00FFFFFFu, 0u, 0x01000000u, 0xFFFFFFFFu, 0x80000000u}) {
            m_env.resetSettings();
            // A different value in each entry: each reaches its own field.
            const auto valueOf = [&](const Entry& e) { return value ^ ColourRef(&e - kEntries); };
            for (const Entry& e : kEntries)
                QVERIFY(ProfileStore::app().writeInt(kSection, QLatin1String(e.name), int(valueOf(e))));
            SyntaxColours colours;
            colours.read(*fromDisk(m_env));
            for (const Entry& e : kEntries)
                QCOMPARE(colours.*e.field, valueOf(e));
            // Written back, each goes to its own entry unchanged.
            m_env.resetSettings();
            QVERIFY(colours.write(ProfileStore::app()));
            const auto disk = fromDisk(m_env);
            for (const Entry& e : kEntries)
                QCOMPARE(ColourRef(disk->getInt(kSection, QLatin1String(e.name), 7)), valueOf(e));
        }
    }
};

QTEST_GUILESS_MAIN(TestColours)
#include "tst_colours.moc"
