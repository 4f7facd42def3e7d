// The launch rules without any window: path shortening, switch texts, what a
// launch starts where, and the place of debug.txt. The refusals are shown
// through the commands, in tst_launch_commands.
#include "common/TestEnv.h"
#include "launch/LaunchPlan.h"
#include "launch/LaunchSettings.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QTest>

using namespace launch;

Q_DECLARE_METATYPE(launch::LaunchSettings)

namespace {

const QString kSection(str::kSectionLaunch);
const int kWin = int(Platform::Windows), kUnix = int(Platform::Unix);

LaunchSettings game(const char* folder, const char* exe, int video = 1)
{
    LaunchSettings s;
    s.g_game = 0;
    s.f_iwar = QString::fromLatin1(folder);
    s.c_iwar_exe = QString::fromLatin1(exe);
    s.g_video = video;
    return s;
}

}  // namespace

class TestLaunchRules : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env.resetSettings(); }

    void shortenPath_data()
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
        row("C:\\Scripts\\m1.iws", "C:\\Scripts\\m1.iws");
        row("C:\\ab c\\x.iws", "C:\\abc~1\\x.iws");          // six or fewer left: all kept
        row("C:\\v1.2 beta\\x.iws", "C:\\v1.2be~1\\x.iws");  // a dot before the blank stays inside the component
        row("C:\\Scripts\\ x.iws", "C:\\Scripts\\x~1.iws");  // blank first in the file name
        row("my file", "myfile~1");                          // no separator at all
        row("C:\\Scripts\\a\tb c.iws", "C:\\Scripts\\a\tbc~1.iws");  // only 0x20 counts as a blank
        row("/home/pilot/My Missions/attack run.iws", "/home/pilot/MyMiss~1/attack~1.iws");
        row("C:/Program Files/Scripts/m1.iws", "C:/Progra~1/Scripts/m1.iws");
        row("Z:\\home/My Dir\\a.iws", "Z:\\home/MyDir~1\\a.iws");
    }

    void shortenPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, shortened);
        QCOMPARE(ShortenPathWithSpaces(path), shortened);
    }

    void switches_data()
    {
        QTest::addColumn<int>("video");
        QTest::addColumn<QStringList>("checked");  // entry names of the ticked boxes
        QTest::addColumn<QString>("expected");

        const char* videoTexts[] = {"-window ", "", "-b -16 ", "-b -16 -800x600 ", "", ""};
        for (int video = -1; video <= 5; ++video)
            QTest::addRow("video %d", video) << video << QStringList() << (video < 0 ? "" : videoTexts[video]);

        const QStringList all = {"c_console", "c_debug",   "c_director", "c_disk",    "c_lagrange",
                                 "c_nohud",   "c_nologos", "c_noslab",   "c_nozlock", "c_powers"};
        for (const QString& entry : all)
            QTest::newRow(qPrintable(entry)) << 1 << QStringList{entry} << QString(u'-' + entry.mid(2) + u' ');
        QTest::newRow("all, in fixed order")
            << 3 << QStringList{all.rbegin(), all.rend()}
            << "-b -16 -800x600 -console -debug -director -disk -lagrange -nohud -nologos -noslab -nozlock -powers ";
        QTest::newRow("worked example") << 0
                                        << QStringList{"c_powers", "c_nologos", "c_lagrange", "c_debug", "c_console"}
                                        << "-window -console -debug -lagrange -nologos -powers ";
    }

    void switches()
    {
        QFETCH(int, video);
        QFETCH(QStringList, checked);
        QFETCH(QString, expected);

        // Set through the store so the entry names are checked too.
        ProfileStore& store = ProfileStore::app();
        store.writeInt(kSection, QStringLiteral("g_video"), video);
        for (const QString& entry : checked)
            store.writeInt(kSection, entry, 7);  // any non-zero value ticks
        QCOMPARE(BuildGameSwitches(LaunchSettings::read(store, LaunchSettings::launchDefaults())), expected);
    }

    void plans_data()
    {
        QTest::addColumn<LaunchSettings>("settings");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("platform");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<bool>("ask");
        QTest::addColumn<bool>("wine");
        const auto row = [](const char* tag, const LaunchSettings& s, const char* path, int platform, const char* exe,
                            const char* parameters, const char* directory, bool ask, bool wine) {
            QTest::newRow(tag) << s << QString(path) << platform << QString(exe) << QString(parameters)
                               << QString(directory) << ask << wine;
        };

        LaunchSettings worked = game("C:\\Games\\IWar\\", "Game.exe", 0);
        worked.c_console = worked.c_debug = worked.c_lagrange = worked.c_nologos = worked.c_powers = 1;
        row("worked command line", worked, "C:\\My Documents\\Missions\\attack.iws", kWin, "C:\\Games\\IWar\\Game.exe",
            "-window -console -debug -lagrange -nologos -powers C:\\MyDocu~1\\Missions\\attack.iws", "C:\\Games\\IWar",
            true, false);
        LaunchSettings s = game("C:\\Games\\IWar\\", "Game.exe");
        row("nothing in front", s, "C:\\m1.iws", kWin, "C:\\Games\\IWar\\Game.exe", "C:\\m1.iws", "C:\\Games\\IWar",
            false, false);
        row("tab is no blank", s, "C:\\My\tDir\\a.iws", kWin, "C:\\Games\\IWar\\Game.exe", "C:\\My\tDir\\a.iws",
            "C:\\Games\\IWar", false, false);
        s.l_pathcheck = 0;
        row("pathcheck 0 shortens silently", s, "C:\\My Dir\\a.iws", kWin, "C:\\Games\\IWar\\Game.exe",
            "C:\\MyDir~1\\a.iws", "C:\\Games\\IWar", false, false);
        s.l_pathcheck = 2;
        row("pathcheck 2 shortens silently", s, "C:\\My Dir\\a.iws", kWin, "C:\\Games\\IWar\\Game.exe",
            "C:\\MyDir~1\\a.iws", "C:\\Games\\IWar", false, false);
        s.g_game = 1;
        s.f_defi = QStringLiteral("C:\\Program Files\\Defiance\\");
        s.c_defi_exe = QStringLiteral("My Game.exe");
        row("blanks in folder and name stay", s, "C:\\m1.iws", kWin, "C:\\Program Files\\Defiance\\My Game.exe",
            "C:\\m1.iws", "C:\\Program Files\\Defiance", false, false);
        row("no separator, no directory", game("C:G", "Game.exe"), "C:\\m1.iws", kWin, "C:GGame.exe", "C:\\m1.iws", "",
            false, false);
        // Elsewhere "/" cuts the directory; a native game gets the host path, a
        // Windows one runs through Wine and gets Wine's name for the script.
        row("unix native", game("/opt/iwar/", "iwar-game", 0), "/home/pilot/m1.iws", kUnix, "/opt/iwar/iwar-game",
            "-window /home/pilot/m1.iws", "/opt/iwar", false, false);
        row("unix through wine, spaced path", game("/opt/iwar/", "Game.exe", 0), "/home/My Missions/attack run.iws",
            kUnix, "/opt/iwar/Game.exe", "-window Z:\\home\\MyMiss~1\\attack~1.iws", "/opt/iwar", true, true);
        row("windows never uses wine", game("/opt/iwar/", "Game.exe", 0), "/m1.iws", kWin, "/opt/iwar/Game.exe",
            "-window /m1.iws", "/opt/iwar", false, false);
    }

    void plans()
    {
        QFETCH(LaunchSettings, settings);
        QFETCH(QString, path);
        QFETCH(int, platform);

        const LaunchPlan plan = planLaunch(settings, path, false, Platform(platform));
        QVERIFY(!plan.refusal);
        QTEST(plan.executable, "executable");
        QTEST(plan.parameters, "parameters");
        QTEST(plan.directory, "directory");
        QTEST(plan.askPathWarning, "ask");
        QTEST(plan.throughWine, "wine");
    }

    void writeKeepsEmptyTexts()
    {
        // A missing entry would read back as the reader's default instead.
        QVERIFY(LaunchSettings().write(ProfileStore::app()));
        ProfileStore::reopenApp();
        for (const char* entry : {"f_iwar", "f_defi", "c_iwar_exe", "c_defi_exe"})
            QCOMPARE(ProfileStore::app().getString(kSection, QLatin1String(entry), QStringLiteral("missing")),
                     QString(""));
    }

    void debugTarget()
    {
        // The folder is used as typed: a trailing separator gives a doubled one.
        QCOMPARE(launch::debugTarget(game("C:\\Games\\IWar\\", "x"), Platform::Windows).path,
                 "C:\\Games\\IWar\\\\debug.txt");
        LaunchSettings defi = game("/other/", "x");
        defi.g_game = 1;
        defi.f_defi = QStringLiteral("D:\\Defi");
        QCOMPARE(launch::debugTarget(defi, Platform::Windows).path, "D:\\Defi\\debug.txt");
        QCOMPARE(launch::debugTarget(game("", "x"), Platform::Unix).path, "/debug.txt");
    }

private:
    TestEnv m_env;
};

QTEST_GUILESS_MAIN(TestLaunchRules)
#include "tst_launch_rules.moc"
