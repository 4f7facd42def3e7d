// The launch commands as the user meets them: the Launch Options dialog on
// the real settings file, a real process standing in for the game (and for
// Wine), and real debug.txt files.
#include "common/TestEnv.h"
#include "launch/CLaunchOptionsDlg.h"
#include "launch/LaunchCommands.h"
#include "launch/LaunchSettings.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <functional>

using launch::LaunchSettings;

namespace {

const QString kSection(str::kSectionLaunch);
constexpr unsigned kRefusalFlags = mb::MB_OK | mb::MB_ICONEXCLAMATION;

constexpr int kCheckBoxes[] = {ids::IDC_C_CONSOLE,  ids::IDC_C_DEBUG,  ids::IDC_C_DIRECTOR, ids::IDC_C_DISK,
                               ids::IDC_C_LAGRANGE, ids::IDC_C_NOHUD,  ids::IDC_C_NOLOGOS,  ids::IDC_C_NOSLAB,
                               ids::IDC_C_NOZLOCK,  ids::IDC_C_POWERS, ids::IDC_L_PATHCHECK};
constexpr int kEdits[] = {ids::IDC_F_IWAR, ids::IDC_F_DEFI, ids::IDC_C_IWAR_EXE, ids::IDC_C_DEFI_EXE};
constexpr int kRadios[] = {ids::IDC_G_VIDEO, ids::IDC_G_VIDEO_FULLSCREEN, ids::IDC_G_VIDEO_640, ids::IDC_G_VIDEO_800,
                           ids::IDC_G_GAME,  ids::IDC_G_GAME_DEFI};

bool isChecked(CLaunchOptionsDlg* dlg, int id)
{
    return dlg->controlAs<QAbstractButton>(id)->isChecked();
}
void click(CLaunchOptionsDlg* dlg, int id)
{
    QTest::mouseClick(dlg->control(id), Qt::LeftButton);
}

// Writes an executable shell script that records its working directory and
// then its arguments, one a line, into record (atomically, so a reader never
// sees half of it).
bool writeRecorder(const QString& scriptPath, const QString& record)
{
    QFile f(scriptPath);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write("#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + QFile::encodeName(record) +
            ".part' && mv '" + QFile::encodeName(record) + ".part' '" + QFile::encodeName(record) + "'\n");
    f.close();
    return f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

// The recorded lines, waiting for the process to write them.
QStringList readRecord(const QString& record, int timeoutMs = 10000)
{
    if (!QTest::qWaitFor([&] { return QFile::exists(record); }, timeoutMs)) return {};
    QFile f(record);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromLocal8Bit(f.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace

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
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    // Launch Options dialog
    void emptyStoreShowsDefaults();
    void okWithoutTouchingWritesAll();
    void cancelLeavesStoreAsItWas_data();
    void cancelLeavesStoreAsItWas();
    void outOfRangeChoicesTickNothing();
    void controlsReachTheirEntries();

    // Launch
    void refusalComesFromTheStore();
    void launchRunsTheGame();
    void answeringNoLaunchesNothing();
    void windowsExecutableRunsThroughWine();
    void startFailureIsReported_data();
    void startFailureIsReported();

    // Debug output
    void debugNoGame_data();
    void debugNoGame();
    void debugMissing_data();
    void debugMissing();
    void openReadableDebugFile();
    void clearDebugFile_data();
    void clearDebugFile();
    void clearFailureLeavesFileAsItWas_data();
    void clearFailureLeavesFileAsItWas();

private:
    // Runs the Launch Options command; act gets the dialog once it is up and
    // must close it.
    void runLaunchOptions(const std::function<void(CLaunchOptionsDlg*)>& act);
    void setGame(int game, const QString& folder, const QString& exe);
    QString mkdir(const QString& relative);

    TestEnv m_env;
    QTemporaryDir m_tmp;
    QList<mb::Box> m_boxes;
    QList<int> m_answers;  // answers to give, in order; then Yes or OK
    QByteArray m_path;
    UrlRecorder m_viewer;
};

void TestLaunchCommands::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_path = qgetenv("PATH");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_viewer, "open");
}

void TestLaunchCommands::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void TestLaunchCommands::init()
{
    m_env.resetSettings();
    m_boxes.clear();
    m_answers.clear();
    m_viewer.opened.clear();
    mb::setAnswerer([this](const mb::Box& box) {
        m_boxes.append(box);
        if (!m_answers.isEmpty()) return m_answers.takeFirst();
        return (box.flags & mb::kButtonMask) == mb::MB_YESNO ? mb::IDYES : mb::IDOK;
    });
}

void TestLaunchCommands::cleanup()
{
    mb::setAnswerer({});
    qputenv("PATH", m_path);
}

void TestLaunchCommands::runLaunchOptions(const std::function<void(CLaunchOptionsDlg*)>& act)
{
    bool acted = false;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dlg = qobject_cast<CLaunchOptionsDlg*>(QApplication::activeModalWidget());
        if (!dlg || acted) return;
        acted = true;
        poll.stop();
        act(dlg);
        if (dlg->isVisible()) {  // act failed before closing it
            dlg->reject();
            QFAIL("the dialog was left open");
        }
    });
    poll.start();
    launch::OnLaunchOptions(nullptr);
    QVERIFY(acted);
}

void TestLaunchCommands::setGame(int game, const QString& folder, const QString& exe)
{
    ProfileStore& store = ProfileStore::app();
    store.writeInt(kSection, QStringLiteral("g_game"), game);
    store.writeString(kSection, game == 1 ? QStringLiteral("f_defi") : QStringLiteral("f_iwar"), folder);
    store.writeString(kSection, game == 1 ? QStringLiteral("c_defi_exe") : QStringLiteral("c_iwar_exe"), exe);
}

QString TestLaunchCommands::mkdir(const QString& relative)
{
    const QString path = m_tmp.filePath(relative);
    QDir().mkpath(path);
    return path;
}

// --- Launch Options dialog ---------------------------------------------------

void TestLaunchCommands::emptyStoreShowsDefaults()
{
    runLaunchOptions([](CLaunchOptionsDlg* dlg) {
        const QList<int> ticked = {ids::IDC_C_LAGRANGE, ids::IDC_C_NOLOGOS, ids::IDC_C_POWERS, ids::IDC_L_PATHCHECK,
                                   ids::IDC_G_VIDEO_FULLSCREEN};
        for (int id : kCheckBoxes) QCOMPARE(isChecked(dlg, id), ticked.contains(id));
        for (int id : kRadios) QCOMPARE(isChecked(dlg, id), ticked.contains(id));
        for (int id : kEdits) QVERIFY(dlg->controlAs<QLineEdit>(id)->text().isEmpty());
        click(dlg, ids::IDCANCEL);
    });
    QVERIFY(!m_env.settingsText().contains(kSection));
}

void TestLaunchCommands::okWithoutTouchingWritesAll()
{
    runLaunchOptions([](CLaunchOptionsDlg* dlg) { click(dlg, ids::IDOK); });

    ProfileStore::reopenApp();  // what reached the file
    const ProfileStore& store = ProfileStore::app();
    const QList<std::pair<const char*, int>> ints = {
        {"c_console", 0}, {"c_debug", 0},   {"c_director", 0}, {"c_disk", 0},    {"c_lagrange", 1},
        {"c_nohud", 0},   {"c_nologos", 1}, {"c_noslab", 0},   {"c_nozlock", 0}, {"c_powers", 1},
        {"g_game", -1},   {"g_video", 1},   {"l_pathcheck", 1}};
    for (const auto& [entry, value] : ints) QCOMPARE(store.getInt(kSection, QLatin1String(entry), 12345), value);
    for (const char* entry : {"f_iwar", "f_defi", "c_iwar_exe", "c_defi_exe"})
        QCOMPARE(store.getString(kSection, QLatin1String(entry), QStringLiteral("missing")), QString(""));
}

void TestLaunchCommands::cancelLeavesStoreAsItWas_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("empty store") << false;
    QTest::newRow("stored settings") << true;
}

void TestLaunchCommands::cancelLeavesStoreAsItWas()
{
    QFETCH(bool, stored);
    if (stored) {
        LaunchSettings s = LaunchSettings::dialogDefaults();
        s.f_iwar = QStringLiteral("/games/iwar/");
        s.c_iwar_exe = QStringLiteral("Game.exe");
        s.g_game = 0;
        QVERIFY(s.write(ProfileStore::app()));
    }
    const QString before = m_env.settingsText();

    runLaunchOptions([](CLaunchOptionsDlg* dlg) {
        for (int id : kCheckBoxes) click(dlg, id);
        for (int id : kEdits) QTest::keyClicks(dlg->control(id), QStringLiteral("changed"));
        click(dlg, ids::IDC_G_VIDEO_800);
        click(dlg, ids::IDC_G_GAME_DEFI);
        QVERIFY(isChecked(dlg, ids::IDC_G_GAME_DEFI));
        click(dlg, ids::IDCANCEL);
    });
    QCOMPARE(m_env.settingsText(), before);
}

void TestLaunchCommands::outOfRangeChoicesTickNothing()
{
    ProfileStore::app().writeInt(kSection, QStringLiteral("g_game"), 2);
    ProfileStore::app().writeInt(kSection, QStringLiteral("g_video"), 5);
    runLaunchOptions([](CLaunchOptionsDlg* dlg) {
        for (int id : kRadios) QVERIFY(!isChecked(dlg, id));
        click(dlg, ids::IDOK);
    });
    QCOMPARE(ProfileStore::app().getInt(kSection, QStringLiteral("g_game"), 12345), -1);
    QCOMPARE(ProfileStore::app().getInt(kSection, QStringLiteral("g_video"), 12345), -1);
}

void TestLaunchCommands::controlsReachTheirEntries()
{
    runLaunchOptions([](CLaunchOptionsDlg* dlg) {
        QTest::keyClicks(dlg->control(ids::IDC_F_IWAR), QStringLiteral("C:\\Games\\IWar\\"));
        QTest::keyClicks(dlg->control(ids::IDC_F_DEFI), QStringLiteral("/games/defi/"));
        QTest::keyClicks(dlg->control(ids::IDC_C_IWAR_EXE), QStringLiteral("iwar.exe"));
        QTest::keyClicks(dlg->control(ids::IDC_C_DEFI_EXE), QStringLiteral("defi game"));
        click(dlg, ids::IDC_G_GAME);
        click(dlg, ids::IDC_G_GAME_DEFI);  // the later pick wins
        click(dlg, ids::IDC_G_VIDEO_640);
        click(dlg, ids::IDC_C_CONSOLE);
        click(dlg, ids::IDC_C_DISK);
        click(dlg, ids::IDC_C_NOZLOCK);
        click(dlg, ids::IDC_C_LAGRANGE);  // ticked by default: now clear
        click(dlg, ids::IDC_L_PATHCHECK);
        click(dlg, ids::IDOK);
    });

    LaunchSettings expected = LaunchSettings::dialogDefaults();
    expected.f_iwar = QStringLiteral("C:\\Games\\IWar\\");
    expected.f_defi = QStringLiteral("/games/defi/");
    expected.c_iwar_exe = QStringLiteral("iwar.exe");
    expected.c_defi_exe = QStringLiteral("defi game");
    expected.g_game = 1;
    expected.g_video = 2;
    expected.c_console = expected.c_disk = expected.c_nozlock = 1;
    expected.c_lagrange = 0;
    expected.l_pathcheck = 0;
    ProfileStore::reopenApp();
    // Read with defaults that differ from every stored value, so a missing
    // entry shows.
    LaunchSettings other;
    other.c_console = other.c_debug = other.c_director = other.c_disk = other.c_lagrange = other.c_nohud =
        other.c_nologos = other.c_noslab = other.c_nozlock = other.c_powers = 9;
    other.g_game = other.g_video = other.l_pathcheck = 9;
    other.f_iwar = other.f_defi = other.c_iwar_exe = other.c_defi_exe = QStringLiteral("missing");
    QVERIFY(LaunchSettings::read(ProfileStore::app(), other) == expected);

    // The dialog shows what is stored when opened again.
    runLaunchOptions([](CLaunchOptionsDlg* dlg) {
        QVERIFY(isChecked(dlg, ids::IDC_G_GAME_DEFI) && !isChecked(dlg, ids::IDC_G_GAME));
        QVERIFY(isChecked(dlg, ids::IDC_G_VIDEO_640));
        QVERIFY(!isChecked(dlg, ids::IDC_C_LAGRANGE) && isChecked(dlg, ids::IDC_C_NOZLOCK));
        QCOMPARE(dlg->controlAs<QLineEdit>(ids::IDC_C_DEFI_EXE)->text(), QStringLiteral("defi game"));
        click(dlg, ids::IDCANCEL);
    });
}

// --- Launch ------------------------------------------------------------------

void TestLaunchCommands::refusalComesFromTheStore()
{
    // No game chosen: the first refusal, whatever else is wrong.
    launch::OnLaunchScript(nullptr, QString(), true);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, QString(str::kLaunchNoGame));
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionLaunchError));
    QCOMPARE(m_boxes[0].flags, kRefusalFlags);

    setGame(1, QStringLiteral("/games/defi/"), QStringLiteral("ab"));
    launch::OnLaunchScript(nullptr, QStringLiteral("/m1.iws"), false);
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes[1].text, QString(str::kLaunchNoDefiExe));
}

void TestLaunchCommands::launchRunsTheGame()
{
    // The worked command line, with a shell script as the game.
    const QString gameDir = mkdir(QStringLiteral("run/Games/IWar"));
    const QString record = m_tmp.filePath(QStringLiteral("run/args.txt"));
    QVERIFY(writeRecorder(gameDir + QStringLiteral("/Game"), record));
    const QString scriptDir = mkdir(QStringLiteral("run/My Documents/Missions"));
    const QString script = scriptDir + QStringLiteral("/attack.iws");

    LaunchSettings s = LaunchSettings::launchDefaults();
    s.g_game = 0;
    s.f_iwar = gameDir + u'/';
    s.c_iwar_exe = QStringLiteral("Game");
    s.g_video = 0;
    s.c_console = s.c_debug = s.c_lagrange = s.c_nologos = s.c_powers = 1;
    QVERIFY(s.write(ProfileStore::app()));

    launch::OnLaunchScript(nullptr, script, false);
    QCOMPARE(m_boxes.size(), 1);  // the path warning, answered Yes
    QCOMPARE(m_boxes[0].text, QString(str::kLaunchPathWarning));
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionLaunchWarning));
    QCOMPARE(m_boxes[0].flags, mb::MB_YESNO | mb::MB_ICONEXCLAMATION);

    const QStringList lines = readRecord(record);
    QVERIFY2(!lines.isEmpty(), "the game did not run");
    QCOMPARE(QDir(lines[0]).canonicalPath(), QDir(gameDir).canonicalPath());
    const QString shortened = m_tmp.filePath(QStringLiteral("run/MyDocu~1/Missions/attack.iws"));
    QCOMPARE(lines.mid(1),
             (QStringList{"-window", "-console", "-debug", "-lagrange", "-nologos", "-powers", shortened}));
    QCOMPARE(m_boxes.size(), 1);  // nothing reported after a good start
}

void TestLaunchCommands::answeringNoLaunchesNothing()
{
    const QString gameDir = mkdir(QStringLiteral("no/game"));
    const QString record = m_tmp.filePath(QStringLiteral("no/args.txt"));
    QVERIFY(writeRecorder(gameDir + QStringLiteral("/run-game"), record));
    setGame(0, gameDir + u'/', QStringLiteral("run-game"));

    m_answers = {mb::IDNO};
    launch::OnLaunchScript(nullptr, m_tmp.filePath(QStringLiteral("no/my script.iws")), false);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionLaunchWarning));
    QTest::qWait(300);
    QVERIFY(!QFile::exists(record));

    // Without blanks nothing is asked, and the game runs with the path as is.
    const QString plain = m_tmp.filePath(QStringLiteral("no/plain.iws"));
    launch::OnLaunchScript(nullptr, plain, false);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(readRecord(record).mid(1), QStringList{plain});
}

void TestLaunchCommands::windowsExecutableRunsThroughWine()
{
    const QString bin = mkdir(QStringLiteral("wine/bin"));
    const QString record = m_tmp.filePath(QStringLiteral("wine/args.txt"));
    QVERIFY(writeRecorder(bin + QStringLiteral("/wine"), record));
    qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);

    // The executable need not exist: Wine is what is started.
    const QString gameDir = mkdir(QStringLiteral("wine/Independence War"));
    setGame(1, gameDir + u'/', QStringLiteral("Game.EXE"));
    ProfileStore::app().writeInt(kSection, QStringLiteral("g_video"), 3);
    ProfileStore::app().writeInt(kSection, QStringLiteral("l_pathcheck"), 0);
    const QString script = mkdir(QStringLiteral("wine/my scripts")) + QStringLiteral("/m.iws");

    launch::OnLaunchScript(nullptr, script, false);
    QVERIFY(m_boxes.isEmpty());
    const QStringList lines = readRecord(record);
    QVERIFY2(!lines.isEmpty(), "wine did not run");
    QCOMPARE(QDir(lines[0]).canonicalPath(), QDir(gameDir).canonicalPath());
    const QString wineScript =
        QStringLiteral("Z:") + m_tmp.filePath(QStringLiteral("wine/myscri~1/m.iws")).replace(u'/', u'\\');
    QCOMPARE(lines.mid(1), (QStringList{gameDir + QStringLiteral("/Game.EXE"), "-b", "-16", "-800x600", wineScript}));
}

void TestLaunchCommands::startFailureIsReported_data()
{
    QTest::addColumn<QString>("exe");
    QTest::addColumn<bool>("wineOnPath");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no such executable") << "NoSuchGame" << true << qt_error_string(ENOENT);
    QTest::newRow("not executable") << "readme.txt" << true << qt_error_string(EACCES);
    QTest::newRow(".exe without wine") << "Game.exe" << false << QString(str::kLaunchNoWine);
}

void TestLaunchCommands::startFailureIsReported()
{
    QFETCH(QString, exe);
    QFETCH(bool, wineOnPath);
    QFETCH(QString, reason);

    const QString gameDir = mkdir(QStringLiteral("fail"));
    QFile text(gameDir + QStringLiteral("/readme.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.close();
    if (!wineOnPath) qputenv("PATH", QFile::encodeName(mkdir(QStringLiteral("fail/empty-bin"))));
    setGame(0, gameDir + u'/', exe);

    launch::OnLaunchScript(nullptr, QStringLiteral("/m1.iws"), false);
    QCOMPARE(m_boxes.size(), 1);
    // What could not be started, and why.
    const QString shown = m_boxes[0].text;
    QVERIFY2(shown.contains(gameDir + u'/' + exe) && shown.contains(reason), qPrintable(shown));
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionLaunchError));
    QCOMPARE(m_boxes[0].flags, kRefusalFlags);
}

// --- Debug output ------------------------------------------------------------

void TestLaunchCommands::debugNoGame_data()
{
    QTest::addColumn<int>("game");
    QTest::addColumn<bool>("clear");
    QTest::newRow("open, none") << -1 << false;
    QTest::newRow("open, game 2") << 2 << false;
    QTest::newRow("clear, none") << -1 << true;
    QTest::newRow("clear, game 2") << 2 << true;
}

void TestLaunchCommands::debugNoGame()
{
    QFETCH(int, game);
    QFETCH(bool, clear);
    if (game != -1) ProfileStore::app().writeInt(kSection, QStringLiteral("g_game"), game);
    clear ? launch::OnClearDebugFile(nullptr) : launch::OnOpenDebugFile(nullptr);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, QString(str::kDebugNoGame));
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionError));
    QCOMPARE(m_boxes[0].flags, kRefusalFlags);
    QVERIFY(m_viewer.opened.isEmpty());
}

void TestLaunchCommands::debugMissing_data()
{
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QString>("expected");
    QTest::newRow("open") << false << QString(str::kDebugNotFound);
    QTest::newRow("clear") << true << QString(str::kDebugNotFoundClear);
}

void TestLaunchCommands::debugMissing()
{
    QFETCH(bool, clear);
    QFETCH(QString, expected);
    const QString folder = mkdir(QStringLiteral("missing/%1").arg(clear));
    setGame(0, folder, QStringLiteral("Game.exe"));

    clear ? launch::OnClearDebugFile(nullptr) : launch::OnOpenDebugFile(nullptr);
    QCOMPARE(m_boxes.size(), 1);  // and no question before clearing
    QCOMPARE(m_boxes[0].text, expected);
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionError));
    QCOMPARE(m_boxes[0].flags, kRefusalFlags);
    QVERIFY(m_viewer.opened.isEmpty());
    QVERIFY(QDir(folder).isEmpty());  // nothing created
}

void TestLaunchCommands::openReadableDebugFile()
{
    const QString folder = mkdir(QStringLiteral("open/defi"));
    QFile debug(folder + QStringLiteral("/debug.txt"));
    QVERIFY(debug.open(QIODevice::WriteOnly));
    debug.write("error in line 3\n");
    debug.close();
    setGame(1, folder + u'/', QStringLiteral("Game.exe"));  // with the trailing separator as asked for

    launch::OnOpenDebugFile(nullptr);
    QVERIFY(m_boxes.isEmpty());
    QCOMPARE(m_viewer.opened.size(), 1);
    QVERIFY(m_viewer.opened[0].isLocalFile());
    QCOMPARE(QFileInfo(m_viewer.opened[0].toLocalFile()).canonicalFilePath(), QFileInfo(debug).canonicalFilePath());
    QCOMPARE(contents(debug.fileName()), QByteArray("error in line 3\n"));
}

void TestLaunchCommands::clearDebugFile_data()
{
    QTest::addColumn<int>("game");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("iwar, yes") << 0 << mb::IDYES << true;
    QTest::newRow("defiance, yes") << 1 << mb::IDYES << true;
    QTest::newRow("no") << 0 << mb::IDNO << false;
    QTest::newRow("any other answer clears") << 1 << mb::IDCANCEL << true;
}

void TestLaunchCommands::clearDebugFile()
{
    QFETCH(int, game);
    QFETCH(int, answer);
    QFETCH(bool, cleared);

    // Both games have a debug.txt; only the chosen one may change.
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString chosen = mkdir(QStringLiteral("clear/%1/chosen").arg(tag));
    const QString other = mkdir(QStringLiteral("clear/%1/other").arg(tag));
    const QByteArray text = "line 1: unknown command\nline 9: missing label\n";
    for (const QString& folder : {chosen, other}) {
        QFile f(folder + QStringLiteral("/debug.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    setGame(game, chosen, QStringLiteral("Game.exe"));
    setGame(1 - game, other, QStringLiteral("Game.exe"));
    ProfileStore::app().writeInt(kSection, QStringLiteral("g_game"), game);

    m_answers = {answer};
    launch::OnClearDebugFile(nullptr);
    QCOMPARE(m_boxes.size(), 1);  // the question, and nothing after it
    QCOMPARE(m_boxes[0].text, QString(str::kDebugClearQuestion));
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionConfirm));
    QCOMPARE(m_boxes[0].flags, mb::MB_YESNO | mb::MB_ICONEXCLAMATION | mb::MB_DEFBUTTON2);
    QCOMPARE(contents(chosen + QStringLiteral("/debug.txt")), cleared ? QByteArray() : text);
    QCOMPARE(contents(other + QStringLiteral("/debug.txt")), text);
}

void TestLaunchCommands::clearFailureLeavesFileAsItWas_data()
{
    QTest::addColumn<bool>("directory");
    QTest::newRow("read-only file") << false;
    QTest::newRow("directory named debug.txt") << true;
}

void TestLaunchCommands::clearFailureLeavesFileAsItWas()
{
    QFETCH(bool, directory);
    const QString folder = mkdir(QStringLiteral("stuck/%1").arg(directory));
    const QString path = folder + QStringLiteral("/debug.txt");
    const QByteArray text = "keep me\n";
    auto restore = qScopeGuard([&] {
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    });
    if (directory) {
        QVERIFY(QDir().mkpath(path));
        QFile inside(path + QStringLiteral("/inside.txt"));
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.write(text);
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        // The superuser writes read-only files; an immutable one it cannot.
        if (QFile(path).open(QIODevice::WriteOnly | QIODevice::Append))
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path});
        if (QFile(path).open(QIODevice::WriteOnly | QIODevice::Append))
            QSKIP("cannot make a file that this user is unable to write");
    }
    setGame(0, folder, QStringLiteral("Game.exe"));

    launch::OnClearDebugFile(nullptr);
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes[0].text, QString(str::kDebugClearQuestion));
    QVERIFY2(m_boxes[1].text.startsWith(QString(str::kDebugClearFailed).section(u'%', 0, 0)),
             qPrintable(m_boxes[1].text));
    QVERIFY(m_boxes[1].text.contains(path));
    QCOMPARE(m_boxes[1].caption, QString(str::kCaptionError));
    QCOMPARE(m_boxes[1].flags, kRefusalFlags);
    if (directory) {
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(contents(path + QStringLiteral("/inside.txt")), text);
    } else {
        QCOMPARE(contents(path), text);
    }
}

QTEST_MAIN(TestLaunchCommands)
#include "tst_launch_commands.moc"
