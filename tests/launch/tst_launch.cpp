// The launch rules without a window, and the commands as the user meets
// them: the Launch Options dialog on the real settings file, real processes
// standing in for the game, Wine and winepath, and real debug.txt files.
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "launch/ErrorLogLine.h"
#include "launch/LaunchCommands.h"
#include "launch/LaunchPlan.h"
#include "platform/DialogBuilder.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

using namespace launch;
using namespace ids;
Q_DECLARE_METATYPE(launch::LaunchSettings)

namespace {

const QString kSection(str::kSectionLaunch);
constexpr unsigned kError = mb::MB_OK | mb::MB_ICONEXCLAMATION;

// Boxes as lines, so that they compare and show themselves.
QString line(const QString& text, const QString& caption, unsigned flags)
{
    return QStringLiteral("%1 [%2, 0x%3]").arg(text, caption).arg(flags, 0, 16);
}
QStringList lines(const QList<mb::Box>& boxes)
{
    QStringList out;
    for (const mb::Box& b : boxes)
        out << line(b.text, b.caption, b.flags);
    return out;
}

LaunchSettings game(int which, const QString& folder, const QString& exe, int video = 1)
{
    LaunchSettings s;
    s.g_game = which;
    (which == 1 ? s.f_defi : s.f_iwar) = folder;
    (which == 1 ? s.c_defi_exe : s.c_iwar_exe) = exe;
    s.g_video = video;
    return s;
}

// The seventeen entries as the settings file holds them.
QString stored()
{
    ProfileStore::reopenApp();
    QStringList out;
    for (const QString e :
         {"c_console", "c_debug", "c_director", "c_disk", "c_lagrange", "c_nohud", "c_nologos", "c_noslab", "c_nozlock",
          "c_powers", "g_game", "g_video", "l_pathcheck", "f_iwar", "f_defi", "c_iwar_exe", "c_defi_exe"})
        out << ProfileStore::app().getString(kSection, e, "missing");  // numbers come back as their text
    return out.join(u'|');
}

// True while the process runs; one that has ended but is not yet reaped is gone.
bool alive(qint64 pid)
{
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return false;
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype end = stat.lastIndexOf(')');
    return end < 0 || end + 2 >= stat.size() || stat[end + 2] != 'Z';
}

TemplateDialog* dialog(QWidget* w) { return qobject_cast<TemplateDialog*>(w); }
void click(QWidget* d, int id) { QTest::mouseClick(dialog(d)->control(id), Qt::LeftButton); }

// Makes path an executable shell script.
void program(const QString& path, const QByteArray& script)
{
    QFile::setPermissions(writeFile(path, "#!/bin/sh\n" + script),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class TestLaunch : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env.resetSettings();
        qputenv("PATH", QFile::encodeName(bin()) + ":/usr/bin:/bin");
    }

    void shortenPath()
    {
        const std::pair<const char*, const char*> cases[] = {
            {"C:\\Scripts\\v1.2 final.iws", "C:\\Scripts\\v1.2fi~1.iws"},  // the extension's dot follows the blank
            {"D:\\IWar Mods\\New Missions\\attack run.iws", "D:\\IWarMo~1\\NewMis~1\\attack~1.iws"},
            {"C:\\A B C Dir\\x.iws", "C:\\ABCD~~~1\\x.iws"},  // three passes over one component
            {"C:\\ab c\\x.iws", "C:\\abc~1\\x.iws"},
            {"C:\\Scripts\\a\tb c.iws", "C:\\Scripts\\a\tbc~1.iws"},  // only 0x20 counts as a blank
            {"Z:\\home/My Dir\\a.iws", "Z:\\home/M~1\\a.iws"},        // "/" is no separator of a Windows path
        };
        for (const auto& [path, shortened] : cases)
            QCOMPARE(ShortenPathWithSpaces(QString(path)), QString(shortened));
    }

    void plans_data()
    {
        QTest::addColumn<LaunchSettings>("settings");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("wineAnswer");
        QTest::addColumn<QStringList>("expected");  // the refusal, or executable, parameters, directory, question
        const auto row = [](const char* tag, const LaunchSettings& s, const char* path, bool windows, const char* wine,
                            const QStringList& expected) {
            QTest::newRow(tag) << s << QString(path) << windows << QString(wine) << expected;
        };
        row("game 2", game(2, "C:\\G\\", "g.exe"), "C:\\m.iws", true, "", {str::kLaunchNoGame});
        row("exe of 2, before folder", game(1, "", "ab"), "C:\\m.iws", true, "", {str::kLaunchNoDefiExe});
        row("folder of 2", game(0, "C:", "g.e"), "", true, "", {str::kLaunchNoFolder});
        row("never saved", game(0, "C:\\", "g.e"), "", true, "", {str::kLaunchNotSaved});
        LaunchSettings all = game(0, "C:\\", "g.e", 3);  // and every other switch, in the game's order
        all.c_director = all.c_disk = all.c_nohud = all.c_noslab = all.c_nozlock = 2;
        row("three characters each", all, "a.i", true, "",
            {"C:\\g.e", "-b -16 -800x600 -director -disk -nohud -noslab -nozlock a.i", "C:", "silent"});
        LaunchSettings worked = game(0, "C:\\Games\\IWar\\", "Game.exe", 0);
        worked.c_console = worked.c_debug = worked.c_lagrange = worked.c_nologos = worked.c_powers = 1;
        row("worked example", worked, "C:\\My Documents\\Missions\\attack.iws", true, "",
            {"C:\\Games\\IWar\\Game.exe",
             "-window -console -debug -lagrange -nologos -powers C:\\MyDocu~1\\Missions\\attack.iws", "C:\\Games\\IWar",
             "asks"});
        LaunchSettings quiet = game(1, "C:/Program Files/Defi", "My Game.exe", 2);
        quiet.l_pathcheck = 2;
        row("windows: native separators, one added", quiet, "C:/My Dir/m.iws", true, "",
            {"C:\\Program Files\\Defi\\My Game.exe", "-b -16 C:\\MyDir~1\\m.iws", "C:\\Program Files\\Defi", "silent"});
        row("native game: the real path", game(0, "/opt/iwar", "iwar.sh"), "/My Dir/a b.iws", false, "",
            {"/opt/iwar/iwar.sh", "/My Dir/a b.iws", "/opt/iwar", "silent"});
        row("wine: its short path", game(0, "/g/", "G.EXE"), "/My Dir/m.iws", false, "C:\\MYDIR~1",
            {"/g/G.EXE", "C:\\MYDIR~1", "/g", "silent"});
        row("wine: none, ours", game(0, "/g/", "G.exe"), "/My Dir/m.iws", false, "",
            {"/g/G.exe", "Z:\\MyDir~1\\m.iws", "/g", "asks"});
    }
    void plans()
    {
        QFETCH(LaunchSettings, settings);
        QFETCH(QString, path);
        QFETCH(bool, windows);
        QFETCH(QString, wineAnswer);
        QStringList asked;
        const auto wine = [&](const QString& p) { return asked << p, wineAnswer; };
        const LaunchPlan plan = planLaunch(settings, path, false, windows ? Platform::Windows : Platform::Unix, wine);
        const QStringList got = plan.refusal ? QStringList{plan.refusal->text}
                                             : QStringList{plan.executable, plan.parameters(), plan.directory,
                                                           plan.askPathWarning ? "asks" : "silent"};
        QTEST(got, "expected");
        QCOMPARE(asked, plan.throughWine && path.contains(u' ') ? QStringList{WinePath(path)} : QStringList());
        if (plan.refusal)
            QCOMPARE(line({}, plan.refusal->caption, plan.refusal->flags), line({}, str::kCaptionLaunchError, kError));
        else  // saved but modified is not saved
            QCOMPARE(planLaunch(settings, path, true).refusal->text, str::kLaunchNotSaved);
    }

    void launchOptions()
    {
        LaunchCommands commands(nullptr, {});
        QSignalSpy changed(&commands, &LaunchCommands::launchSettingsChanged);
        whenModal([](QWidget* d) { click(d, IDC_C_DEBUG), click(d, IDCANCEL); });
        commands.OnLaunchOptions();
        QVERIFY(m_env.settingsText().isEmpty() && changed.isEmpty());

        // The dialog's defaults fill in what the store lacks; a choice that no
        // button stands for ticks none. OK writes all seventeen.
        ProfileStore::app().writeInt(kSection, "g_video", 5);
        whenModal([](QWidget* d) { click(d, IDOK); });
        commands.OnLaunchOptions();
        QCOMPARE(stored(), "0|0|0|0|1|0|1|0|0|1|-1|-1|1||||");
        QCOMPARE(changed.count(), 1);

        // Each control reaches its own entry.
        whenModal([](QWidget* d) {
            for (int id : {IDC_F_IWAR, IDC_F_DEFI, IDC_C_IWAR_EXE, IDC_C_DEFI_EXE})
                QTest::keyClicks(dialog(d)->control(id), QString::number(id));
            for (int id : {IDC_G_GAME, IDC_G_GAME_DEFI, IDC_G_VIDEO_640, IDC_C_CONSOLE, IDC_C_DISK, IDC_C_NOZLOCK,
                           IDC_C_LAGRANGE, IDC_L_PATHCHECK})
                click(d, id);
            click(d, IDOK);
        });
        commands.OnLaunchOptions();
        QCOMPARE(stored(), "1|0|0|1|0|0|1|0|1|1|1|2|0|1000|1001|1021|1022");

        // What another editor stores while the dialog is open stays; OK adds
        // only what was changed here.
        ProfileStore theirs(m_env.settingsFile());
        whenModal([&](QWidget* d) {
            QVERIFY(theirs.writeString(kSection, "f_iwar", "elsewhere"));
            click(d, IDC_C_DEBUG);
            click(d, IDOK);
        });
        commands.OnLaunchOptions();
        QCOMPARE(stored(), "1|1|0|1|0|0|1|0|1|1|1|2|0|elsewhere|1001|1021|1022");
    }

    void nativeGameGetsTheRealPathAndIsSeenToEnd()
    {
        const QString gameDir = mkdir("run/iwar");
        const auto record = recorder(gameDir + "/game.sh");
        const QString script = mkdir("run/My Missions") + "/attack run.iws";
        game(0, gameDir, "game.sh", 0).write(ProfileStore::app());  // no trailing separator
        LaunchCommands commands(nullptr, [&] { return ScriptState{script, false, {}}; });
        QSignalSpy ended(&commands, &LaunchCommands::gameEnded);
        BoxRecorder boxes;
        commands.OnLaunchScript();
        QCOMPARE(record(), (QStringList{gameDir, "-window", script}));
        QVERIFY(ended.wait(5000));
        QFile::remove(gameDir + "/game.sh");  // a game that cannot start is told, with the reason
        commands.OnLaunchScript();
        QCOMPARE(boxes.boxes.size(), 1);
        const QString told = boxes.boxes[0].text;
        QVERIFY2(told.startsWith(QString(str::kLaunchCouldNotStart).arg(gameDir + "/game.sh", "")) &&
                     told.contains(qt_error_string(ENOENT)) && boxes.boxes[0].caption == str::kCaptionLaunchError,
                 qPrintable(told));
    }

    void windowsGameRunsThroughWine()
    {
        const QString gameDir = mkdir("wine/Independence War");
        game(1, gameDir + u'/', "Game.EXE").write(ProfileStore::app());
        const QString script = mkdir("wine/my scripts") + "/m.iws";
        LaunchCommands commands(nullptr, [&] { return ScriptState{script, false, {}}; });
        const auto record = recorder(bin() + "/wine");
        program(bin() + "/winepath", "exit 1\n");  // Wine cannot tell
        // Our own short form may name no file Wine knows: the user is asked first.
        BoxRecorder boxes(mb::IDNO);
        commands.OnLaunchScript();
        QTRY_COMPARE(boxes.boxes.size(), 1);
        QVERIFY(!QTest::qWaitFor([&] { return QFile::exists(bin() + "/wine.args"); }, 300));
        boxes.answer = mb::IDYES;
        commands.OnLaunchScript();
        const QString ours = WinePath(QFileInfo(gameDir).path() + "/myscri~1/m.iws");
        QCOMPARE(record(), (QStringList{gameDir, gameDir + "/Game.EXE", ours}));
        const QString warning = line(str::kLaunchPathWarning, str::kCaptionLaunchWarning, mb::MB_YESNO | kError);
        QCOMPARE(lines(boxes.boxes), (QStringList{warning, warning}));

        // Wine's own short form goes without a question.
        program(bin() + "/winepath", "[ \"$1\" = -s ] && printf '%s\\n' \"$2\" | tr ' ' _\n");
        commands.OnLaunchScript();
        QCOMPARE(record().last(), WinePath(script).replace(u' ', u'_'));
        QCOMPARE(boxes.boxes.size(), 2);
    }

    // A winepath that takes its time holds nothing up: F12 returns at once,
    // a second F12 meanwhile starts no second game, and the game starts with
    // Wine's answer once it comes.
    void slowWinepathFreezesNothing()
    {
        const QString gameDir = mkdir("slow/game");
        game(0, gameDir, "G.exe").write(ProfileStore::app());
        const QString script = mkdir("slow/my scripts") + "/m.iws";
        const auto record = recorder(bin() + "/wine");
        program(bin() + "/winepath", "sleep 1; echo 'C:\\MYSCRI~1\\M.IWS'\n");
        LaunchCommands commands(nullptr, [&] { return ScriptState{script, false, {}}; });
        BoxRecorder boxes;
        QElapsedTimer clock;
        clock.start();
        commands.OnLaunchScript();
        commands.OnLaunchScript();
        QVERIFY(clock.elapsed() < 500);
        QCOMPARE(record(), (QStringList{gameDir, gameDir + "/G.exe", "C:\\MYSCRI~1\\M.IWS"}));
        QVERIFY(!QTest::qWaitFor([&] { return QFile::exists(bin() + "/wine.args"); }, 1500));
        QVERIFY(boxes.boxes.isEmpty());
    }

    // A winepath that does not answer in time, or is still running when the
    // editor goes, is stopped together with what it started.
    void hangingWinepathIsStoppedWithItsChildren()
    {
        const QString pidFile = bin() + "/child.pid";
        program(bin() + "/winepath", "sleep 300 & echo $! > '" + QFile::encodeName(pidFile) + "'\nsleep 300\n");
        const auto child = [&] {
            qint64 pid = 0;
            if (!QTest::qWaitFor([&] { return (pid = readFile(pidFile).trimmed().toLongLong()) > 0; }, 5000))
                return qint64(0);
            QFile::remove(pidFile);
            return pid;
        };
        WineShortPathQuery query(nullptr, 300);
        QSignalSpy answered(&query, &WineShortPathQuery::answered);
        QVERIFY(query.start("C:\\a b"));
        const qint64 first = child();
        QVERIFY(answered.wait(5000));
        QCOMPARE(answered.at(0).at(0).toString(), QString());
        QTRY_VERIFY(!alive(first));

        game(0, mkdir("hang/game"), "G.exe").write(ProfileStore::app());
        const QString script = mkdir("hang/my scripts") + "/m.iws";
        auto commands = std::make_unique<LaunchCommands>(nullptr, [&] { return ScriptState{script, false, {}}; });
        commands->OnLaunchScript();
        const qint64 second = child();
        QVERIFY(second > 0 && alive(second));
        commands.reset();
        QTRY_VERIFY(!alive(second));
    }

    void debugFileNotFound()
    {
        // Anything but a regular file is not found; a FIFO opened for reading
        // would wait here for a writer.
        for (const QString kind : {"nothing", "folder", "fifo", "no game"}) {
            const QString folder = mkdir("missing/" + kind), path = folder + "/debug.txt";
            if (kind == u"folder")
                QDir().mkdir(path);
            else if (kind != u"nothing")
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            const bool noGame = kind == u"no game";
            game(noGame ? 2 : 0, folder, "G.exe").write(ProfileStore::app());
            BoxRecorder boxes;
            LaunchCommands commands(nullptr, {});
            program(bin() + "/xdg-open", "touch \"$0.ran\"\n");
            commands.OnOpenDebugFile();
            commands.OnClearDebugFile();
            const QString open = noGame ? str::kDebugNoGame : str::kDebugNotFound;
            const QString clear = noGame ? str::kDebugNoGame : str::kDebugNotFoundClear;
            QCOMPARE(lines(boxes.boxes),
                     (QStringList{line(open, str::kCaptionError, kError), line(clear, str::kCaptionError, kError)}));
            QVERIFY(!QTest::qWaitFor([&] { return QFile::exists(bin() + "/xdg-open.ran"); }, 100));
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
                     int(kind != u"nothing"));
        }
    }

    // debug.txt goes to the desktop's opener; when it fails, or there is
    // none, the user is told which file could not be shown.
    void openDebugFile()
    {
        const QString folder = mkdir("open/defi");
        const QString path = folder + "//debug.txt";
        writeFile(path, "error in line 3\n");
        game(1, folder + u'/', "Game.exe").write(ProfileStore::app());
        BoxRecorder boxes;
        LaunchCommands commands(nullptr, {});
        const auto record = recorder(bin() + "/xdg-open");
        commands.OnOpenDebugFile();
        QCOMPARE(record().mid(1), QStringList{path});

        program(bin() + "/xdg-open", "exit 1\n");  // starts, then fails
        commands.OnOpenDebugFile();
        const QString told = line(QString(str::kDebugOpenFailed).arg(path), str::kCaptionError, kError);
        QTRY_COMPARE(lines(boxes.boxes), QStringList{told});
        QVERIFY(QFile::remove(bin() + "/xdg-open"));
        qputenv("PATH", QFile::encodeName(bin()));  // no opener at all
        commands.OnOpenDebugFile();
        QTRY_COMPARE(lines(boxes.boxes), (QStringList{told, told}));
    }

    void clearDebugFile()
    {
        const QString path = writeFile(mkdir("clear") + "/debug.txt", "text");
        game(1, QFileInfo(path).path(), "Game.exe").write(ProfileStore::app());
        // No keeps the file; any other answer empties it.
        for (const auto& [answer, left] : {std::pair{mb::IDNO, "text"}, {mb::IDYES, ""}, {mb::IDCANCEL, ""}}) {
            BoxRecorder boxes(answer);
            LaunchCommands(nullptr, {}).OnClearDebugFile();
            QCOMPARE(lines(boxes.boxes), QStringList{line(str::kDebugClearQuestion, str::kCaptionConfirm,
                                                          mb::MB_YESNO | kError | mb::MB_DEFBUTTON2)});
            QCOMPARE(readFile(path), QByteArray(left));
            writeFile(path, "text");
        }
    }

    // The error log's lines that lead to a script line; the file is named
    // only when the line names one, and a named file wins over a bare number.
    void errorLogLinesNameTheirPlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("line");  // 0: no place
        QTest::newRow("line only") << "Error: unknown command at line 12" << QString() << 12;
        QTest::newRow("line of file") << "Syntax error in line 7 of brief01.scr, skipped"
                                      << "brief01.scr" << 7;
        QTest::newRow("file(line)") << "brief01.scr(12): label not found"
                                    << "brief01.scr" << 12;
        QTest::newRow("file:line, Windows path") << "C:\\Games\\IWar\\ships.shp:40 bad"
                                                 << "C:\\Games\\IWar\\ships.shp" << 40;
        QTest::newRow("file beats a bare line") << "ships.shp(3) included from line 9"
                                                << "ships.shp" << 3;
        QTest::newRow("a word ending in line") << "deadline 3 passed" << QString() << 0;
        QTest::newRow("no number") << "Mission loaded" << QString() << 0;
    }
    void errorLogLinesNameTheirPlace()
    {
        QFETCH(QString, text);
        QFETCH(QString, file);
        QFETCH(int, line);
        const std::optional<LogLocation> at = parseErrorLogLine(text);
        QCOMPARE(at.has_value(), line > 0);
        if (at)
            QCOMPARE(*at, (LogLocation{file, line}));
    }

private:
    // Makes path a program that records its working directory and then its
    // arguments, one a line, written whole or not at all. Returns the record,
    // once there is one, and removes it for the next run.
    static std::function<QStringList()> recorder(const QString& path)
    {
        const QString record = path + ".args";
        const QByteArray name = QFile::encodeName(record);
        program(path,
                "{ pwd; printf '%s\\n' \"$@\"; } > '" + name + ".part' && mv '" + name + ".part' '" + name + "'\n");
        return [record] {
            if (!QTest::qWaitFor([&] { return QFile::exists(record); }, 10000))
                return QStringList();
            QStringList lines = QString::fromLocal8Bit(readFile(record)).split(u'\n');
            QFile::remove(record);
            lines.removeLast();
            return lines;
        };
    }

    // A folder of programs for the current test only, first on the PATH.
    QString bin() { return mkdir(QString("bin/") + QTest::currentTestFunction()); }
    QString mkdir(const QString& relative)
    {
        QDir().mkpath(m_tmp.filePath(relative));
        return QDir(m_tmp.filePath(relative)).canonicalPath();
    }

    TestEnv m_env;
    QTemporaryDir m_tmp;
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
