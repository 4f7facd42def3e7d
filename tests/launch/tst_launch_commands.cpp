// The launch commands as the user meets them: the Launch Options dialog on
// the real settings file, a real process standing in for the game (and for
// Wine), and real debug.txt files.
#include "common/TestEnv.h"
#include "launch/CLaunchOptionsDlg.h"
#include "launch/LaunchCommands.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <functional>

namespace {

const QString kSection(str::kSectionLaunch);
constexpr unsigned kErrorFlags = mb::MB_OK | mb::MB_ICONEXCLAMATION;
constexpr unsigned kQuestionFlags = mb::MB_YESNO | mb::MB_ICONEXCLAMATION;

constexpr int kCheckBoxes[] = {ids::IDC_C_CONSOLE,  ids::IDC_C_DEBUG,  ids::IDC_C_DIRECTOR, ids::IDC_C_DISK,
                               ids::IDC_C_LAGRANGE, ids::IDC_C_NOHUD,  ids::IDC_C_NOLOGOS,  ids::IDC_C_NOSLAB,
                               ids::IDC_C_NOZLOCK,  ids::IDC_C_POWERS, ids::IDC_L_PATHCHECK};
constexpr int kEdits[] = {ids::IDC_F_IWAR, ids::IDC_F_DEFI, ids::IDC_C_IWAR_EXE, ids::IDC_C_DEFI_EXE};
constexpr int kRadios[] = {ids::IDC_G_VIDEO, ids::IDC_G_VIDEO_FULLSCREEN, ids::IDC_G_VIDEO_640, ids::IDC_G_VIDEO_800,
                           ids::IDC_G_GAME,  ids::IDC_G_GAME_DEFI};
// The seventeen entries: numbers, then texts.
const char* const kIntEntries[] = {"c_console", "c_debug",   "c_director", "c_disk",    "c_lagrange",
                                   "c_nohud",   "c_nologos", "c_noslab",   "c_nozlock", "c_powers",
                                   "g_game",    "g_video",   "l_pathcheck"};
const char* const kTextEntries[] = {"f_iwar", "f_defi", "c_iwar_exe", "c_defi_exe"};

const mb::Box kClearQuestion{str::kDebugClearQuestion, str::kCaptionConfirm, kQuestionFlags | mb::MB_DEFBUTTON2};

}  // namespace

// Boxes compare, and show themselves when they differ.
namespace mb {
static bool operator==(const Box& a, const Box& b)
{
    return a.text == b.text && a.caption == b.caption && a.flags == b.flags;
}
static char* toString(const Box& b)
{
    return QTest::toString(QStringLiteral("%1 [%2, 0x%3]").arg(b.text, b.caption).arg(b.flags, 0, 16));
}
}  // namespace mb

// Stands in for the desktop's file viewer.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestLaunchCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_path = qgetenv("PATH");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_viewer, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void init()
    {
        m_env.resetSettings();
        m_boxes.clear();
        m_answers.clear();
        m_viewer.opened.clear();
        mb::setAnswerer([this](const mb::Box& box) {
            m_boxes.append(box);
            if (!m_answers.isEmpty())
                return m_answers.takeFirst();
            return (box.flags & mb::kButtonMask) == mb::MB_YESNO ? mb::IDYES : mb::IDOK;
        });
    }

    void cleanup()
    {
        mb::setAnswerer({});
        qputenv("PATH", m_path);
    }

    // --- Launch Options dialog ------------------------------------------------------------------------------------

    void cancelChangesNothingThenOkWritesDefaults()
    {
        // Cancel after changing everything leaves the store as it was, empty.
        const QString before = m_env.settingsText();
        runLaunchOptions([](CLaunchOptionsDlg* dlg) {
            for (int id : kCheckBoxes)
                click(dlg, id);
            for (int id : kEdits)
                QTest::keyClicks(dlg->control(id), QStringLiteral("changed"));
            click(dlg, ids::IDC_G_VIDEO_800);
            click(dlg, ids::IDC_G_GAME_DEFI);
            click(dlg, ids::IDCANCEL);
        });
        QCOMPARE(m_env.settingsText(), before);

        // Opened again it shows the defaults, and OK without changes writes all seventeen.
        runLaunchOptions([](CLaunchOptionsDlg* dlg) {
            const QList<int> ticked = {ids::IDC_C_LAGRANGE, ids::IDC_C_NOLOGOS, ids::IDC_C_POWERS, ids::IDC_L_PATHCHECK,
                                       ids::IDC_G_VIDEO_FULLSCREEN};
            for (int id : kCheckBoxes)
                QCOMPARE(isChecked(dlg, id), ticked.contains(id));
            for (int id : kRadios)
                QCOMPARE(isChecked(dlg, id), ticked.contains(id));
            for (int id : kEdits)
                QVERIFY(dlg->controlAs<QLineEdit>(id)->text().isEmpty());
            // Controls where the dialog's layout puts them, in dialog units.
            QCOMPARE(dlg->control(ids::IDOK)->pos(), dlg->toPixels(250, 5));
            QCOMPARE(dlg->control(ids::IDC_F_IWAR)->pos(), dlg->toPixels(10, 25));
            QCOMPARE(dlg->control(ids::IDC_G_VIDEO_800)->pos(), dlg->toPixels(210, 175));
            QCOMPARE(dlg->control(ids::IDC_L_PATHCHECK)->pos(), dlg->toPixels(5, 234));
            QCOMPARE(dlg->control(ids::IDC_C_DEFI_EXE)->pos(), dlg->toPixels(10, 115));
            click(dlg, ids::IDOK);
        });
        expectStored({0, 0, 0, 0, 1, 0, 1, 0, 0, 1, -1, 1, 1}, {"", "", "", ""});
    }

    void outOfRangeChoicesTickNothing()
    {
        ProfileStore::app().writeInt(kSection, QStringLiteral("g_game"), 2);
        ProfileStore::app().writeInt(kSection, QStringLiteral("g_video"), 5);
        runLaunchOptions([](CLaunchOptionsDlg* dlg) {
            for (int id : kRadios)
                QVERIFY(!isChecked(dlg, id));
            click(dlg, ids::IDOK);
        });
        expectStored({0, 0, 0, 0, 1, 0, 1, 0, 0, 1, -1, -1, 1}, {"", "", "", ""});
    }

    void controlsReachTheirEntries()
    {
        const QStringList texts = {"C:\\Games\\IWar\\", "/games/defi/", "iwar.exe", "defi game"};
        runLaunchOptions([&](CLaunchOptionsDlg* dlg) {
            for (int i = 0; i < 4; ++i)
                QTest::keyClicks(dlg->control(kEdits[i]), texts[i]);
            click(dlg, ids::IDC_G_GAME);
            click(dlg, ids::IDC_G_GAME_DEFI);  // the later pick wins
            click(dlg, ids::IDC_G_VIDEO_640);
            for (int id :
                 {ids::IDC_C_CONSOLE, ids::IDC_C_DISK, ids::IDC_C_NOZLOCK, ids::IDC_C_LAGRANGE, ids::IDC_L_PATHCHECK})
                click(dlg, id);
            click(dlg, ids::IDOK);
        });
        expectStored({1, 0, 0, 1, 0, 0, 1, 0, 1, 1, 1, 2, 0}, texts);

        // Opened again, the dialog shows what is stored.
        runLaunchOptions([&](CLaunchOptionsDlg* dlg) {
            QVERIFY(isChecked(dlg, ids::IDC_G_GAME_DEFI) && !isChecked(dlg, ids::IDC_G_GAME));
            QVERIFY(isChecked(dlg, ids::IDC_G_VIDEO_640));
            QVERIFY(!isChecked(dlg, ids::IDC_C_LAGRANGE) && isChecked(dlg, ids::IDC_C_NOZLOCK));
            QCOMPARE(dlg->controlAs<QLineEdit>(ids::IDC_F_DEFI)->text(), texts[1]);
            click(dlg, ids::IDCANCEL);
        });
    }

    // --- Launch ---------------------------------------------------------------------------------------------------

    void launchRefusedOrFailed_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("exe");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("refusal");  // empty: the start is tried, and its failure told
        QTest::addColumn<QString>("reason");

        const QString dir = m_tmp.filePath(QStringLiteral("fail/"));
        const auto row = [](const char* tag, int game, const QString& folder, const char* exe, const char* path,
                            bool modified, QLatin1String refusal, const QString& reason = QString()) {
            QTest::newRow(tag) << game << folder << QString(exe) << QString(path) << modified << QString(refusal)
                               << reason;
        };
        const QLatin1String started;
        row("no game", -1, dir, "Game", "/m1.iws", false, str::kLaunchNoGame);
        row("game 2", 2, dir, "Game", "/m1.iws", false, str::kLaunchNoGame);
        row("game tested before save", -1, "", "", "", true, str::kLaunchNoGame);
        row("iwar exe of 2 chars", 0, dir, "ab", "/m1.iws", false, str::kLaunchNoIwarExe);
        row("defi exe empty", 1, dir, "", "/m1.iws", false, str::kLaunchNoDefiExe);
        row("exe tested before folder", 0, "", "ab", "/m1.iws", false, str::kLaunchNoIwarExe);
        row("folder of 2 chars", 0, "C:", "Game", "/m1.iws", false, str::kLaunchNoFolder);
        row("folder tested before save", 1, "", "Game", "", false, str::kLaunchNoFolder);
        row("never saved", 0, dir, "Game", "", false, str::kLaunchNotSaved);
        row("modified", 1, dir, "Game", "/m1.iws", true, str::kLaunchNotSaved);
        row("path of 2 chars", 0, dir, "Game", "C:", false, str::kLaunchNotSaved);
        // Three characters are enough for each; what is left is the start.
        row("exe of 3, folder of 3", 0, "C:\\", "g.e", "/m1.iws", false, started);
        row("path of 3 chars", 1, dir, "NoGame", "a.i", false, started, qt_error_string(ENOENT));
        row("not executable", 0, dir, "readme.txt", "/m1.iws", false, started, qt_error_string(EACCES));
        row(".exe without wine", 1, dir, "Game.exe", "/m1.iws", false, started, QString(str::kLaunchNoWine));
    }

    void launchRefusedOrFailed()
    {
        QFETCH(int, game);
        QFETCH(QString, folder);
        QFETCH(QString, exe);
        QFETCH(QString, path);
        QFETCH(bool, modified);
        QFETCH(QString, refusal);
        QFETCH(QString, reason);

        QVERIFY(writeFile(mkdir(QStringLiteral("fail")) + QStringLiteral("/readme.txt"), "not a program"));
        qputenv("PATH", QFile::encodeName(mkdir(QStringLiteral("empty-bin"))));  // no Wine
        // The other game can always be launched, so only the chosen one matters.
        setGame(game == 1 ? 0 : 1, QStringLiteral("/other/"), QStringLiteral("Other"));
        setGame(game, folder, exe);

        launch::OnLaunchScript(nullptr, path, modified);
        QVERIFY(!m_boxes.isEmpty());
        if (refusal.isEmpty()) {  // what could not be started, and why
            refusal = m_boxes[0].text;
            QVERIFY2(refusal.startsWith(QString(str::kLaunchCouldNotStart).section(u'%', 0, 0)), qPrintable(refusal));
            QVERIFY2(refusal.contains(folder + exe) && refusal.contains(reason), qPrintable(refusal));
        }
        QCOMPARE(m_boxes, (QList<mb::Box>{{refusal, str::kCaptionLaunchError, kErrorFlags}}));
    }

    void gameRunsWithTheWorkedCommandLine()
    {
        const QString gameDir = mkdir(QStringLiteral("run/Games/IWar"));
        const auto record = recorder(gameDir + QStringLiteral("/Game"));
        const QString script = mkdir(QStringLiteral("run/My Documents/Missions")) + QStringLiteral("/attack.iws");
        setGame(0, gameDir + u'/', QStringLiteral("Game"));
        for (const char* entry : {"g_video", "c_console", "c_debug", "c_lagrange", "c_nologos", "c_powers"})
            ProfileStore::app().writeInt(kSection, entry, entry[0] == 'g' ? 0 : 1);

        // The blank in the path is asked about first; No starts nothing.
        m_answers = {mb::IDNO};
        launch::OnLaunchScript(nullptr, script, false);
        QTest::qWait(300);
        QVERIFY(!QFile::exists(gameDir + QStringLiteral("/Game.args")));

        launch::OnLaunchScript(nullptr, script, false);  // answered Yes
        const QStringList lines = record();
        QVERIFY2(!lines.isEmpty(), "the game did not run");
        const mb::Box warning{str::kLaunchPathWarning, str::kCaptionLaunchWarning, kQuestionFlags};
        QCOMPARE(m_boxes, (QList<mb::Box>{warning, warning}));  // and nothing told after a good start
        QCOMPARE(QDir(lines[0]).canonicalPath(), QDir(gameDir).canonicalPath());
        QCOMPARE(lines.mid(1), (QStringList{"-window", "-console", "-debug", "-lagrange", "-nologos", "-powers",
                                            m_tmp.filePath(QStringLiteral("run/MyDocu~1/Missions/attack.iws"))}));
    }

    void windowsExecutableRunsThroughWine()
    {
        const QString bin = mkdir(QStringLiteral("wine/bin"));
        const auto record = recorder(bin + QStringLiteral("/wine"));
        qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);

        // The executable need not exist: Wine is what is started. Nothing
        // but the game is stored, so no switch is passed.
        const QString gameDir = mkdir(QStringLiteral("wine/Independence War"));
        setGame(1, gameDir + u'/', QStringLiteral("Game.EXE"));
        ProfileStore::app().writeInt(kSection, QStringLiteral("l_pathcheck"), 0);
        launch::OnLaunchScript(nullptr, mkdir(QStringLiteral("wine/my scripts")) + QStringLiteral("/m.iws"), false);

        const QStringList lines = record();
        QVERIFY2(!lines.isEmpty(), "wine did not run");
        QVERIFY(m_boxes.isEmpty());
        QCOMPARE(QDir(lines[0]).canonicalPath(), QDir(gameDir).canonicalPath());
        const QString wineScript = "Z:" + m_tmp.filePath(QStringLiteral("wine/myscri~1/m.iws")).replace(u'/', u'\\');
        QCOMPARE(lines.mid(1), (QStringList{gameDir + QStringLiteral("/Game.EXE"), wineScript}));
    }

    // --- Debug output ---------------------------------------------------------------------------------------------

    void debugRefusals_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QString>("expected");
        for (bool clear : {false, true}) {
            const char* command = clear ? "clear" : "open";
            QTest::addRow("%s, no game", command) << -1 << clear << QString(str::kDebugNoGame);
            QTest::addRow("%s, game 2", command) << 2 << clear << QString(str::kDebugNoGame);
            QTest::addRow("%s, missing file", command)
                << 0 << clear << QString(clear ? str::kDebugNotFoundClear : str::kDebugNotFound);
        }
    }

    void debugRefusals()
    {
        QFETCH(int, game);
        QFETCH(bool, clear);
        QFETCH(QString, expected);
        const QString folder = mkdir(QStringLiteral("missing/") + QString::fromLatin1(QTest::currentDataTag()));
        setGame(game, folder, QStringLiteral("Game.exe"));

        clear ? launch::OnClearDebugFile(nullptr) : launch::OnOpenDebugFile(nullptr);
        // Told at once, with no question before clearing.
        QCOMPARE(m_boxes, (QList<mb::Box>{{expected, str::kCaptionError, kErrorFlags}}));
        QVERIFY(m_viewer.opened.isEmpty());
        QVERIFY(QDir(folder).isEmpty());  // nothing created
    }

    void openReadableDebugFile()
    {
        const QString folder = mkdir(QStringLiteral("open/defi"));
        QVERIFY(writeFile(folder + QStringLiteral("/debug.txt"), "error in line 3\n"));
        setGame(1, folder + u'/', QStringLiteral("Game.exe"));  // with the trailing separator as asked for

        launch::OnOpenDebugFile(nullptr);
        QVERIFY(m_boxes.isEmpty());
        QCOMPARE(m_viewer.opened.size(), 1);
        QCOMPARE(QFileInfo(m_viewer.opened[0].toLocalFile()).canonicalFilePath(),
                 QFileInfo(folder + QStringLiteral("/debug.txt")).canonicalFilePath());
    }

    void clearDebugFile_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("iwar, yes") << 0 << mb::IDYES << true;
        QTest::newRow("defiance, yes") << 1 << mb::IDYES << true;
        QTest::newRow("no") << 0 << mb::IDNO << false;
        QTest::newRow("any other answer clears") << 1 << mb::IDCANCEL << true;
    }

    void clearDebugFile()
    {
        QFETCH(int, game);
        QFETCH(int, answer);
        QFETCH(bool, cleared);

        // Both games have a debug.txt; only the chosen one may change.
        const QString chosen = mkdir(QStringLiteral("clear/%1/chosen").arg(QTest::currentDataTag()));
        const QString other = mkdir(QStringLiteral("clear/%1/other").arg(QTest::currentDataTag()));
        const QByteArray text = "line 1: unknown command\nline 9: missing label\n";
        for (const QString& folder : {chosen, other})
            QVERIFY(writeFile(folder + QStringLiteral("/debug.txt"), text));
        setGame(1 - game, other, QStringLiteral("Game.exe"));
        setGame(game, chosen, QStringLiteral("Game.exe"));

        m_answers = {answer};
        launch::OnClearDebugFile(nullptr);
        QCOMPARE(m_boxes, QList<mb::Box>{kClearQuestion});  // with No the default, and nothing after it
        QCOMPARE(contents(chosen + QStringLiteral("/debug.txt")), cleared ? QByteArray() : text);
        QCOMPARE(contents(other + QStringLiteral("/debug.txt")), text);
    }

    void clearFailureLeavesFileAsItWas()
    {
        const QString folder = mkdir(QStringLiteral("stuck"));
        const QString path = folder + QStringLiteral("/debug.txt");
        QVERIFY(writeFile(path, "keep me\n"));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        auto restore = qScopeGuard([&] { QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path}); });
        // The superuser writes read-only files; an immutable one it cannot.
        if (QFile(path).open(QIODevice::WriteOnly | QIODevice::Append))
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path});
        if (QFile(path).open(QIODevice::WriteOnly | QIODevice::Append))
            QSKIP("cannot make a file that this user is unable to write");
        setGame(0, folder, QStringLiteral("Game.exe"));

        launch::OnClearDebugFile(nullptr);
        QCOMPARE(m_boxes.size(), 2);
        const QString told = m_boxes[1].text;
        QVERIFY2(told.startsWith(QString(str::kDebugClearFailed).section(u'%', 0, 0)) && told.contains(path),
                 qPrintable(told));
        QCOMPARE(m_boxes, (QList<mb::Box>{kClearQuestion, {told, str::kCaptionError, kErrorFlags}}));
        QCOMPARE(contents(path), QByteArray("keep me\n"));
    }

private:
    static bool isChecked(CLaunchOptionsDlg* d, int id) { return d->controlAs<QAbstractButton>(id)->isChecked(); }
    static void click(CLaunchOptionsDlg* d, int id) { QTest::mouseClick(d->control(id), Qt::LeftButton); }

    static bool writeFile(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
    }

    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    // Makes program a script that records its working directory and then its
    // arguments, one a line, in program + ".args", written whole or not at
    // all. Returns the record's lines, once there are any.
    static std::function<QStringList()> recorder(const QString& program)
    {
        const QByteArray record = QFile::encodeName(program + QStringLiteral(".args"));
        writeFile(program, "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + record +
                               ".part' && mv '" + record + ".part' '" + record + "'\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return [record] {
            if (!QTest::qWaitFor([&] { return QFile::exists(QFile::decodeName(record)); }, 10000))
                return QStringList();
            QStringList lines = QString::fromLocal8Bit(contents(QFile::decodeName(record))).split(u'\n');
            lines.removeLast();
            return lines;
        };
    }

    // Runs the Launch Options command; act gets the dialog and must close it.
    void runLaunchOptions(const std::function<void(CLaunchOptionsDlg*)>& act)
    {
        bool acted = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dlg = qobject_cast<CLaunchOptionsDlg*>(QApplication::activeModalWidget());
            if (!dlg || acted)
                return;
            acted = true;
            poll.stop();
            act(dlg);
            if (dlg->isVisible()) {
                dlg->reject();
                QFAIL("the dialog was left open");
            }
        });
        poll.start();
        launch::OnLaunchOptions(nullptr);
        QVERIFY(acted);
    }

    // The seventeen entries as the file holds them.
    static void expectStored(const QList<int>& numbers, const QStringList& texts)
    {
        ProfileStore::reopenApp();
        QList<int> storedNumbers;
        QStringList storedTexts;
        for (const char* entry : kIntEntries)
            storedNumbers << ProfileStore::app().getInt(kSection, entry, 12345);
        for (const char* entry : kTextEntries)
            storedTexts << ProfileStore::app().getString(kSection, entry, "missing");
        QCOMPARE(storedNumbers, numbers);
        QCOMPARE(storedTexts, texts);
    }

    // Chooses the game (-1: no g_game entry at all) and sets its folder and executable.
    static void setGame(int game, const QString& folder, const QString& exe)
    {
        ProfileStore& store = ProfileStore::app();
        if (game == -1)
            store.writeString(kSection, QStringLiteral("g_game"), QString());
        else
            store.writeInt(kSection, QStringLiteral("g_game"), game);
        store.writeString(kSection, game == 1 ? QStringLiteral("f_defi") : QStringLiteral("f_iwar"), folder);
        store.writeString(kSection, game == 1 ? QStringLiteral("c_defi_exe") : QStringLiteral("c_iwar_exe"), exe);
    }

    QString mkdir(const QString& relative)
    {
        return QDir().mkpath(m_tmp.filePath(relative)) ? m_tmp.filePath(relative) : QString();
    }

    TestEnv m_env;
    QTemporaryDir m_tmp;
    QList<mb::Box> m_boxes;
    QList<int> m_answers;  // answers to give, in order; then Yes or OK
    QByteArray m_path;
    UrlRecorder m_viewer;
};

QTEST_MAIN(TestLaunchCommands)
#include "tst_launch_commands.moc"
