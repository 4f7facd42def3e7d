// The launch rules without any window: path shortening, switch texts, the
// refusals and what a launch starts where, the settings' defaults, and the
// place of debug.txt.
#include "common/TestEnv.h"
#include "launch/LaunchPlan.h"
#include "launch/LaunchSettings.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QDir>
#include <QTest>

using namespace launch;

Q_DECLARE_METATYPE(launch::LaunchSettings)

namespace {

// A launchable Independence War setup; each test row changes what it tests.
LaunchSettings iwarSettings()
{
    LaunchSettings s = LaunchSettings::launchDefaults();
    s.g_game = 0;
    s.f_iwar = QStringLiteral("C:\\Games\\IWar\\");
    s.c_iwar_exe = QStringLiteral("Game.exe");
    return s;
}

const QString kSection(str::kSectionLaunch);

}  // namespace

class TestLaunchRules : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env.resetSettings(); }

    void shortenPath_data();
    void shortenPath();
    void switches_data();
    void switches();
    void refusals_data();
    void refusals();
    void plans_data();
    void plans();
    void winePath_data();
    void winePath();
    void settingsDefaults();
    void settingsRoundTrip();
    void partialStoreUsesEachReadersDefaults();
    void debugTarget_data();
    void debugTarget();

private:
    TestEnv m_env;
};

void TestLaunchRules::shortenPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shortened");
    const auto row = [](const char* path, const char* shortened) {
        QTest::newRow(path) << QString::fromLatin1(path) << QString::fromLatin1(shortened);
    };
    row("C:\\My Documents\\script.iws", "C:\\MyDocu~1\\script.iws");
    row("C:\\Program Files\\Scripts\\m1.iws", "C:\\Progra~1\\Scripts\\m1.iws");
    row("C:\\Scripts\\my script.iws", "C:\\Scripts\\myscri~1.iws");
    row("C:\\Scripts\\Mission 01 final.iws", "C:\\Scripts\\Missio~1.iws");
    row("C:\\Scripts\\my script.old.iws", "C:\\Scripts\\myscri~1.old.iws");
    row("D:\\Games\\IWar Mods\\New Missions\\attack run.iws", "D:\\Games\\IWarMo~1\\NewMis~1\\attack~1.iws");
    row("C:\\Documents and Settings\\Pilot\\My Documents\\m.iws", "C:\\Docume~1\\Pilot\\MyDocu~1\\m.iws");
    row("C:\\Scripts\\abcde g.iws", "C:\\Scripts\\abcdeg~1.iws");
    row("C:\\Scripts\\abcdef g.iws", "C:\\Scripts\\abcdef~1.iws");
    row("C:\\My Dir\\a.iws", "C:\\MyDir~1\\a.iws");
    row("C:\\Games\\IWar\\m 1.iws", "C:\\Games\\IWar\\m1~1.iws");
    row("C:\\Scripts\\Final mission", "C:\\Scripts\\Finalm~1");
    row("C:\\A B C Dir\\x.iws", "C:\\ABCD~~~1\\x.iws");
    // Edges of the same rules.
    row("C:\\Scripts\\m1.iws", "C:\\Scripts\\m1.iws");           // nothing to do
    row("C:\\ab c\\x.iws", "C:\\abc~1\\x.iws");                  // six or fewer left: all kept
    row("C:\\v1.2 beta\\x.iws", "C:\\v1.2be~1\\x.iws");          // a dot before the blank stays inside the component
    row("C:\\Scripts\\ x.iws", "C:\\Scripts\\x~1.iws");          // blank first in the file name
    row("my file", "myfile~1");                                  // no separator at all
    row("C:\\Scripts\\a\tb c.iws", "C:\\Scripts\\a\tbc~1.iws");  // only 0x20 counts as a blank
    // "/" separates components as "\" does.
    row("/home/pilot/My Missions/attack run.iws", "/home/pilot/MyMiss~1/attack~1.iws");
    row("C:/Program Files/Scripts/m1.iws", "C:/Progra~1/Scripts/m1.iws");
    row("Z:\\home/My Dir\\a.iws", "Z:\\home/MyDir~1\\a.iws");
}

void TestLaunchRules::shortenPath()
{
    QFETCH(QString, path);
    QFETCH(QString, shortened);
    QCOMPARE(ShortenPathWithSpaces(path), shortened);
}

void TestLaunchRules::switches_data()
{
    QTest::addColumn<int>("video");
    QTest::addColumn<QStringList>("checked");  // entry names of the ticked boxes
    QTest::addColumn<QString>("expected");

    QTest::newRow("window") << 0 << QStringList() << "-window ";
    QTest::newRow("fullscreen") << 1 << QStringList() << "";
    QTest::newRow("3dfx 640") << 2 << QStringList() << "-b -16 ";
    QTest::newRow("3dfx 800") << 3 << QStringList() << "-b -16 -800x600 ";
    QTest::newRow("video 4") << 4 << QStringList() << "";
    QTest::newRow("video 5") << 5 << QStringList() << "";
    QTest::newRow("video -1") << -1 << QStringList() << "";

    const QStringList all = {"c_console", "c_debug",   "c_director", "c_disk",    "c_lagrange",
                             "c_nohud",   "c_nologos", "c_noslab",   "c_nozlock", "c_powers"};
    const QStringList texts = {"-console ", "-debug ",   "-director ", "-disk ",    "-lagrange ",
                               "-nohud ",   "-nologos ", "-noslab ",   "-nozlock ", "-powers "};
    for (int i = 0; i < all.size(); ++i) QTest::newRow(qPrintable(all[i])) << 1 << QStringList{all[i]} << texts[i];
    QTest::newRow("all, in fixed order")
        << 3 << QStringList{all.rbegin(), all.rend()}
        << "-b -16 -800x600 -console -debug -director -disk -lagrange -nohud -nologos -noslab -nozlock -powers ";
    QTest::newRow("worked example") << 0 << QStringList{"c_powers", "c_nologos", "c_lagrange", "c_debug", "c_console"}
                                    << "-window -console -debug -lagrange -nologos -powers ";
}

void TestLaunchRules::switches()
{
    QFETCH(int, video);
    QFETCH(QStringList, checked);
    QFETCH(QString, expected);

    // Set through the store so the entry names are checked too.
    ProfileStore& store = ProfileStore::app();
    store.writeInt(kSection, QStringLiteral("g_video"), video);
    for (const QString& entry : checked) store.writeInt(kSection, entry, 7);  // any non-zero value ticks
    const LaunchSettings s = LaunchSettings::read(store, LaunchSettings::launchDefaults());
    QCOMPARE(BuildGameSwitches(s), expected);
}

void TestLaunchRules::refusals_data()
{
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("expected");  // empty: launched

    const QString saved = QStringLiteral("C:\\Scripts\\m1.iws");
    const QString game = QStringLiteral("C:\\Games\\IWar\\");
    const QString exe = QStringLiteral("Game.exe");
    const QString noGame(str::kLaunchNoGame), noIwarExe(str::kLaunchNoIwarExe), noDefiExe(str::kLaunchNoDefiExe),
        noFolder(str::kLaunchNoFolder), notSaved(str::kLaunchNotSaved);

    QTest::newRow("no game") << -1 << game << exe << saved << false << noGame;
    QTest::newRow("game 2") << 2 << game << exe << saved << false << noGame;
    QTest::newRow("game tested before save") << -1 << QString() << QString() << QString() << true << noGame;
    QTest::newRow("iwar exe of 2 chars") << 0 << game << "ab" << saved << false << noIwarExe;
    QTest::newRow("defi exe empty") << 1 << game << "" << saved << false << noDefiExe;
    QTest::newRow("exe tested before folder") << 0 << ""
                                              << "ab" << saved << false << noIwarExe;
    QTest::newRow("folder C:") << 0 << "C:" << exe << saved << false << noFolder;
    QTest::newRow("folder tested before save") << 1 << "" << exe << "" << false << noFolder;
    QTest::newRow("never saved") << 0 << game << exe << "" << false << notSaved;
    QTest::newRow("modified") << 1 << game << exe << saved << true << notSaved;
    QTest::newRow("path of 2 chars") << 0 << game << exe << "C:" << false << notSaved;
    QTest::newRow("exe of 3 chars, folder C:\\") << 0 << "C:\\"
                                                 << "g.e" << saved << false << "";
    QTest::newRow("path of 3 chars") << 1 << game << exe << "a.i" << false << "";
}

void TestLaunchRules::refusals()
{
    QFETCH(int, game);
    QFETCH(QString, folder);
    QFETCH(QString, exe);
    QFETCH(QString, path);
    QFETCH(bool, modified);
    QFETCH(QString, expected);

    // The other game's entries are always set, so only the chosen one matters.
    LaunchSettings s = LaunchSettings::launchDefaults();
    s.g_game = game;
    s.f_iwar = game == 1 ? QStringLiteral("C:\\Other\\") : folder;
    s.c_iwar_exe = game == 1 ? QStringLiteral("Other.exe") : exe;
    s.f_defi = game == 1 ? folder : QStringLiteral("C:\\Other\\");
    s.c_defi_exe = game == 1 ? exe : QStringLiteral("Other.exe");

    for (Platform platform : {Platform::Windows, Platform::Unix}) {
        const LaunchPlan plan = planLaunch(s, path, modified, platform);
        if (expected.isEmpty()) {
            QVERIFY(!plan.refusal);
            QCOMPARE(plan.executable, folder + exe);
        } else {
            QVERIFY(plan.refusal);
            QCOMPARE(plan.refusal->text, expected);
            QCOMPARE(plan.refusal->caption, QString(str::kCaptionLaunchError));
            QCOMPARE(plan.refusal->flags, mb::MB_OK | mb::MB_ICONEXCLAMATION);
            QVERIFY(plan.executable.isEmpty() && plan.parameters.isEmpty());
        }
    }
}

void TestLaunchRules::plans_data()
{
    QTest::addColumn<LaunchSettings>("settings");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("platform");
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<bool>("ask");
    QTest::addColumn<bool>("wine");

    const int win = int(Platform::Windows), unix = int(Platform::Unix);

    LaunchSettings worked = iwarSettings();
    worked.g_video = 0;
    worked.c_console = worked.c_debug = worked.c_lagrange = worked.c_nologos = worked.c_powers = 1;
    QTest::newRow("worked command line")
        << worked << "C:\\My Documents\\Missions\\attack.iws" << win << "C:\\Games\\IWar\\Game.exe"
        << "-window -console -debug -lagrange -nologos -powers C:\\MyDocu~1\\Missions\\attack.iws"
        << "C:\\Games\\IWar" << true << false;

    const LaunchSettings plain = iwarSettings();
    QTest::newRow("nothing in front") << plain << "C:\\Scripts\\m1.iws" << win << "C:\\Games\\IWar\\Game.exe"
                                      << "C:\\Scripts\\m1.iws"
                                      << "C:\\Games\\IWar" << false << false;
    LaunchSettings video = plain;
    video.g_video = 2;
    QTest::newRow("video 2") << video << "C:\\Scripts\\m1.iws" << win << "C:\\Games\\IWar\\Game.exe"
                             << "-b -16 C:\\Scripts\\m1.iws"
                             << "C:\\Games\\IWar" << false << false;
    video.g_video = 3;
    QTest::newRow("video 3") << video << "C:\\Scripts\\m1.iws" << win << "C:\\Games\\IWar\\Game.exe"
                             << "-b -16 -800x600 C:\\Scripts\\m1.iws"
                             << "C:\\Games\\IWar" << false << false;

    LaunchSettings noCheck = plain;
    noCheck.l_pathcheck = 0;
    QTest::newRow("pathcheck 0 shortens silently")
        << noCheck << "C:\\My Dir\\a.iws" << win << "C:\\Games\\IWar\\Game.exe"
        << "C:\\MyDir~1\\a.iws"
        << "C:\\Games\\IWar" << false << false;
    noCheck.l_pathcheck = 2;
    QTest::newRow("pathcheck 2 shortens silently")
        << noCheck << "C:\\My Dir\\a.iws" << win << "C:\\Games\\IWar\\Game.exe"
        << "C:\\MyDir~1\\a.iws"
        << "C:\\Games\\IWar" << false << false;
    QTest::newRow("tab is no blank") << plain << "C:\\My\tDir\\a.iws" << win << "C:\\Games\\IWar\\Game.exe"
                                     << "C:\\My\tDir\\a.iws"
                                     << "C:\\Games\\IWar" << false << false;

    LaunchSettings spaced = plain;
    spaced.g_game = 1;
    spaced.f_defi = QStringLiteral("C:\\Program Files\\Defiance\\");
    spaced.c_defi_exe = QStringLiteral("My Game.exe");
    QTest::newRow("blanks in folder and name stay")
        << spaced << "C:\\Scripts\\m1.iws" << win << "C:\\Program Files\\Defiance\\My Game.exe"
        << "C:\\Scripts\\m1.iws"
        << "C:\\Program Files\\Defiance" << false << false;

    LaunchSettings noSep = plain;
    noSep.f_iwar = QStringLiteral("C:G");
    QTest::newRow("no separator, no directory") << noSep << "C:\\Scripts\\m1.iws" << win << "C:GGame.exe"
                                                << "C:\\Scripts\\m1.iws"
                                                << "" << false << false;

    // Elsewhere: "/" cuts the directory; a native game gets the host path,
    // a Windows one runs through Wine and gets Wine's name for the script.
    LaunchSettings native = plain;
    native.f_iwar = QStringLiteral("/opt/iwar/");
    native.c_iwar_exe = QStringLiteral("iwar-game");
    native.g_video = 0;
    QTest::newRow("unix native") << native << "/home/pilot/m1.iws" << unix << "/opt/iwar/iwar-game"
                                 << "-window /home/pilot/m1.iws"
                                 << "/opt/iwar" << false << false;
    QTest::newRow("unix native, spaced path")
        << native << "/home/pilot/My Missions/m1.iws" << unix << "/opt/iwar/iwar-game"
        << "-window /home/pilot/MyMiss~1/m1.iws"
        << "/opt/iwar" << true << false;

    LaunchSettings exe = native;
    exe.c_iwar_exe = QStringLiteral("Game.exe");
    QTest::newRow("unix through wine") << exe << "/home/pilot/m1.iws" << unix << "/opt/iwar/Game.exe"
                                       << "-window Z:\\home\\pilot\\m1.iws"
                                       << "/opt/iwar" << false << true;
    QTest::newRow("unix through wine, spaced path")
        << exe << "/home/pilot/My Missions/attack run.iws" << unix << "/opt/iwar/Game.exe"
        << "-window Z:\\home\\pilot\\MyMiss~1\\attack~1.iws"
        << "/opt/iwar" << true << true;
    exe.c_iwar_exe = QStringLiteral("GAME.EXE");
    QTest::newRow("unix, .EXE in capitals") << exe << "/m1.iws" << unix << "/opt/iwar/GAME.EXE"
                                            << "-window Z:\\m1.iws"
                                            << "/opt/iwar" << false << true;
    QTest::newRow("windows never uses wine") << exe << "/m1.iws" << win << "/opt/iwar/GAME.EXE"
                                             << "-window /m1.iws"
                                             << "/opt/iwar" << false << false;
}

void TestLaunchRules::plans()
{
    QFETCH(LaunchSettings, settings);
    QFETCH(QString, path);
    QFETCH(int, platform);
    QFETCH(QString, executable);
    QFETCH(QString, parameters);
    QFETCH(QString, directory);
    QFETCH(bool, ask);
    QFETCH(bool, wine);

    const LaunchPlan plan = planLaunch(settings, path, false, Platform(platform));
    QVERIFY(!plan.refusal);
    QCOMPARE(plan.executable, executable);
    QCOMPARE(plan.parameters, parameters);
    QCOMPARE(plan.directory, directory);
    QCOMPARE(plan.askPathWarning, ask);
    QCOMPARE(plan.throughWine, wine);
}

void TestLaunchRules::winePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("absolute") << "/home/pilot/m1.iws"
                              << "Z:\\home\\pilot\\m1.iws";
    QTest::newRow("root") << "/m.iws"
                          << "Z:\\m.iws";
    QTest::newRow("blanks kept") << "/home/My Dir/a b.iws"
                                 << "Z:\\home\\My Dir\\a b.iws";
    QTest::newRow("relative") << "m.iws"
                              << "Z:" + QDir::currentPath().replace(u'/', u'\\') + "\\m.iws";
}

void TestLaunchRules::winePath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(WinePath(path), expected);
}

void TestLaunchRules::settingsDefaults()
{
    const ProfileStore& store = ProfileStore::app();
    const LaunchSettings dialog = LaunchSettings::read(store, LaunchSettings::dialogDefaults());
    QCOMPARE(dialog.c_lagrange, 1);
    QCOMPARE(dialog.c_nologos, 1);
    QCOMPARE(dialog.c_powers, 1);
    QCOMPARE(dialog.c_console + dialog.c_debug + dialog.c_director + dialog.c_disk + dialog.c_nohud + dialog.c_noslab +
                 dialog.c_nozlock,
             0);
    QVERIFY(dialog.f_iwar.isEmpty() && dialog.f_defi.isEmpty());
    QVERIFY(dialog.c_iwar_exe.isEmpty() && dialog.c_defi_exe.isEmpty());
    QCOMPARE(dialog.g_game, -1);
    QCOMPARE(dialog.g_video, 1);
    QCOMPARE(dialog.l_pathcheck, 1);

    LaunchSettings expectedLaunch = dialog;
    expectedLaunch.c_lagrange = expectedLaunch.c_nologos = expectedLaunch.c_powers = 0;
    QCOMPARE(LaunchSettings::read(store, LaunchSettings::launchDefaults()), expectedLaunch);
}

void TestLaunchRules::settingsRoundTrip()
{
    LaunchSettings s;
    s.c_console = 1;
    s.c_director = 1;
    s.c_noslab = 1;
    s.f_iwar = QStringLiteral("C:\\Games\\IWar\\");
    s.f_defi = QString();  // empty, must still be stored
    s.c_iwar_exe = QStringLiteral("Game.exe");
    s.c_defi_exe = QStringLiteral("Défi Game.exe");
    s.g_game = 1;
    s.g_video = 3;
    s.l_pathcheck = 0;
    QVERIFY(s.write(ProfileStore::app()));

    // Read back from the file, not from the store's memory.
    ProfileStore::reopenApp();
    const ProfileStore& store = ProfileStore::app();
    QCOMPARE(LaunchSettings::read(store, LaunchSettings::dialogDefaults()), s);
    QCOMPARE(LaunchSettings::read(store, LaunchSettings::launchDefaults()), s);
    const QStringList ints = {"c_console", "c_debug",   "c_director", "c_disk", "c_lagrange", "c_nohud",    "c_nologos",
                              "c_noslab",  "c_nozlock", "c_powers",   "g_game", "g_video",    "l_pathcheck"};
    for (const QString& entry : ints) QVERIFY2(store.getInt(kSection, entry, 12345) != 12345, qPrintable(entry));
    for (const char* entry : {"f_iwar", "f_defi", "c_iwar_exe", "c_defi_exe"})
        QVERIFY2(!store.getString(kSection, QLatin1String(entry), QStringLiteral("missing")).startsWith("missing"),
                 entry);
}

void TestLaunchRules::partialStoreUsesEachReadersDefaults()
{
    // A store with a game but none of the switch entries: the launch passes no
    // switches although the dialog would show three of them ticked.
    ProfileStore& store = ProfileStore::app();
    store.writeInt(kSection, QStringLiteral("g_game"), 0);
    store.writeString(kSection, QStringLiteral("f_iwar"), QStringLiteral("C:\\Games\\IWar\\"));
    store.writeString(kSection, QStringLiteral("c_iwar_exe"), QStringLiteral("Game.exe"));

    const LaunchSettings forLaunch = LaunchSettings::read(store, LaunchSettings::launchDefaults());
    const LaunchPlan plan = planLaunch(forLaunch, QStringLiteral("C:\\Scripts\\m1.iws"), false, Platform::Windows);
    QCOMPARE(plan.parameters, QStringLiteral("C:\\Scripts\\m1.iws"));

    const LaunchSettings forDialog = LaunchSettings::read(store, LaunchSettings::dialogDefaults());
    QCOMPARE(BuildGameSwitches(forDialog), QStringLiteral("-lagrange -nologos -powers "));
    QCOMPARE(forDialog.g_game, 0);
}

void TestLaunchRules::debugTarget_data()
{
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("platform");
    QTest::addColumn<QString>("expected");  // empty: refused

    const int win = int(Platform::Windows), unix = int(Platform::Unix);
    QTest::newRow("win, trailing backslash") << 0 << "C:\\Games\\IWar\\" << win << "C:\\Games\\IWar\\\\debug.txt";
    QTest::newRow("win, defiance") << 1 << "D:\\Defi" << win << "D:\\Defi\\debug.txt";
    QTest::newRow("win, empty folder") << 0 << "" << win << "\\debug.txt";
    QTest::newRow("unix, trailing slash") << 0 << "/games/iwar/" << unix << "/games/iwar//debug.txt";
    QTest::newRow("unix, no trailing slash") << 1 << "/games/defi" << unix << "/games/defi/debug.txt";
    QTest::newRow("unix, empty folder") << 0 << "" << unix << "/debug.txt";
    QTest::newRow("no game") << -1 << "/games/iwar/" << unix << "";
    QTest::newRow("game 2") << 2 << "C:\\Games\\IWar\\" << win << "";
}

void TestLaunchRules::debugTarget()
{
    QFETCH(int, game);
    QFETCH(QString, folder);
    QFETCH(int, platform);
    QFETCH(QString, expected);

    LaunchSettings s;
    s.g_game = game;
    (game == 1 ? s.f_defi : s.f_iwar) = folder;
    (game == 1 ? s.f_iwar : s.f_defi) = QStringLiteral("/the/other/game/");
    const DebugTarget target = launch::debugTarget(s, Platform(platform));
    if (expected.isEmpty()) {
        QVERIFY(target.refusal);
        const Message expectedMessage{QString(str::kDebugNoGame), QString(str::kCaptionError),
                                      mb::MB_OK | mb::MB_ICONEXCLAMATION};
        QCOMPARE(*target.refusal, expectedMessage);
    } else {
        QVERIFY(!target.refusal);
        QCOMPARE(target.path, expected);
    }
}

QTEST_GUILESS_MAIN(TestLaunchRules)
#include "tst_launch_rules.moc"
