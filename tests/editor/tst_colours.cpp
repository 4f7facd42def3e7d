// The six highlight colours and their entries in the settings store.
#include "common/TestEnv.h"
#include "editor/SyntaxColours.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"

#include <QFile>
#include <QtTest>

namespace {

const QString kSection = QStringLiteral("Syntax Colours");

// The entries in field order, with the built-in colours and the command
// that edits each.
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
    QFile::remove(copy);
    QFile::copy(env.settingsFile(), copy);
    return std::make_unique<ProfileStore>(copy);
}

}  // namespace

class TestColours : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env.resetSettings(); }

    void defaultsOnEmptyStore();
    void eachEntryReachesItsField();
    void storedValuesUsedUnchanged_data();
    void storedValuesUsedUnchanged();
    void writesAllSix();
    void classesAndCommandsFindTheirField();

private:
    TestEnv m_env;
};

void TestColours::defaultsOnEmptyStore()
{
    SyntaxColours colours;
    for (const Entry& e : kEntries)
        colours.*e.field = 0x00123456;
    colours.read(ProfileStore::app());
    for (const Entry& e : kEntries)
        QCOMPARE(colours.*e.field, e.defaultColour);
    // The colour dialog offers the defaults in the same order.
    for (std::size_t i = 0; i < std::size(kEntries); ++i)
        QCOMPARE(SyntaxColours::kDefaults[i], kEntries[i].defaultColour);
    // Reading writes nothing.
    QVERIFY(!QFile::exists(m_env.settingsFile()));
}

void TestColours::eachEntryReachesItsField()
{
    // One entry at a time: the others stay at their defaults.
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        m_env.resetSettings();
        QVERIFY(ProfileStore::app().writeInt(kSection, QLatin1String(kEntries[i].name), 0x00010203));
        SyntaxColours colours;
        colours.read(ProfileStore::app());
        for (std::size_t j = 0; j < std::size(kEntries); ++j)
            QCOMPARE(colours.*kEntries[j].field, i == j ? 0x00010203u : kEntries[j].defaultColour);
    }
}

void TestColours::storedValuesUsedUnchanged_data()
{
    QTest::addColumn<quint32>("value");
    QTest::newRow("white") << quint32(0x00FFFFFF);
    QTest::newRow("black") << quint32(0);
    QTest::newRow("top byte set") << quint32(0x01000000);
    QTest::newRow("all bits") << quint32(0xFFFFFFFF);
    QTest::newRow("high bit") << quint32(0x80000000);
}

void TestColours::storedValuesUsedUnchanged()
{
    QFETCH(quint32, value);
    for (const Entry& e : kEntries)
        QVERIFY(ProfileStore::app().writeInt(kSection, QLatin1String(e.name), int(value)));
    SyntaxColours colours;
    colours.read(*fromDisk(m_env));
    for (const Entry& e : kEntries)
        QCOMPARE(colours.*e.field, value);
    // Written back, they come out the same again.
    m_env.resetSettings();
    QVERIFY(colours.write(ProfileStore::app()));
    SyntaxColours again;
    again.read(*fromDisk(m_env));
    for (const Entry& e : kEntries)
        QCOMPARE(again.*e.field, value);
}

void TestColours::writesAllSix()
{
    // Unchanged defaults are written too: a first run leaves all six.
    SyntaxColours defaults;
    QVERIFY(defaults.write(ProfileStore::app()));
    auto disk = fromDisk(m_env);
    for (const Entry& e : kEntries)
        QCOMPARE(ColourRef(disk->getInt(kSection, QLatin1String(e.name), 7)), e.defaultColour);

    SyntaxColours changed;
    ColourRef next = 0x00100000;
    for (const Entry& e : kEntries)
        changed.*e.field = next++;
    QVERIFY(changed.write(ProfileStore::app()));
    disk = fromDisk(m_env);
    next = 0x00100000;
    for (const Entry& e : kEntries)
        QCOMPARE(ColourRef(disk->getInt(kSection, QLatin1String(e.name), 7)), next++);
    // Under the section and entry names a reader of the file expects.
    const QString text = m_env.settingsText();
    QVERIFY2(text.contains(QLatin1String("[Syntax%20Colours]")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("Regular%20Text=1048576")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("Labels=1048581")), qPrintable(text));
}

void TestColours::classesAndCommandsFindTheirField()
{
    SyntaxColours colours;
    ColourRef next = 0x00200000;
    for (const Entry& e : kEntries)
        colours.*e.field = next++;
    for (const Entry& e : kEntries) {
        QCOMPARE(colours.forClass(e.cls), colours.*e.field);
        QCOMPARE(&colours.field(e.commandId), &(colours.*e.field));
    }
}

QTEST_GUILESS_MAIN(TestColours)
#include "tst_colours.moc"
