// The platform layer: the settings store on the real settings file in a
// temporary XDG_CONFIG_HOME, the Windows-1252 text codec against the C
// library's iconv, and the keyboard flow of template dialogs.
#include "common/FileSizeLimit.h"
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "platform/AtomicFile.h"
#include "platform/DialogBuilder.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/RecoveryJournal.h"
#include "platform/SettingsNotice.h"
#include "platform/TextCodec.h"
#include "resources/dialogs.h"
#include "resources/ids.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QtTest>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

const QString kSection = "Syntax Colours";
const QString kOther = "Code Snippet Library";

// A store on a copy of the settings file: it reads what the file holds, not
// what the process's own store still has in memory.
std::unique_ptr<ProfileStore> fromDisk(const TestEnv& env)
{
    static int copies = 0;
    const QString copy = env.root() + QStringLiteral("/copy%1.conf").arg(++copies);
    QFile::copy(env.settingsFile(), copy);
    return std::make_unique<ProfileStore>(copy);
}

int controlId(QWidget* w) { return w ? w->property("controlId").toInt() : 0; }

// Presses key on the focused control and answers the control that has the focus then.
int press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    return controlId(QApplication::focusWidget());
}

}  // namespace

class TestPlatform : public QObject {
    Q_OBJECT
    TestEnv m_env;

private slots:
    void init() { m_env.resetSettings(); }

    void valuesRoundTripThroughTheFile()
    {
        ProfileStore& store = ProfileStore::app();
        QVERIFY(store.writeInt(kSection, "Keywords", INT_MIN));  // stored as a number, not as text or a typed blob
        QCOMPARE(fromDisk(m_env)->getInt(kSection, "Keywords", 1), INT_MIN);
        QVERIFY(readFile(m_env.settingsFile()).contains("Keywords=" + QByteArray::number(INT_MIN) + "\n"));
        const QString texts[] = {QString(""), "@Variant(\\0\\0\\x7f)", "; # a=b,c \"\n[General]\r\n\\n C:\\x\\ ",
                                 QString::fromUtf8("caf\u00e9 \u20ac \u4e2d \U0001F600 \u2028 \x01\x7f"), QString()};
        for (const QString& text : texts) {
            QVERIFY(store.writeString(kOther, "Code5", text));
            QVERIFY(store.writeInt(kOther, "After", 7));
            const auto fresh = fromDisk(m_env);
            QCOMPARE(fresh->getString(kOther, "Code5", "gone"),
                     text.isNull() ? "gone" : text);         // a null string deletes
            QCOMPARE(fresh->getInt(kOther, "After", 0), 7);  // nothing spilled over
        }
    }

    void fullDiskKeepsOldFile()
    {
        ProfileStore& store = ProfileStore::app();
        QVERIFY(store.writeString(kOther, "Code1", QString(20000, QLatin1Char('x'))));
        const QByteArray before = readFile(m_env.settingsFile());
        // 4096: room for the small lock file, not for the new settings file,
        // so the write breaks off half-way. 0: not even the lock.
        QStringList reasons;
        store.setFailureReporter([&](const ProfileStore::Failure& f) { reasons << f.reason; });
        for (rlim_t limit : {4096, 0}) {
            {
                FileSizeLimit full(limit);
                QVERIFY(full.ok());
                QVERIFY(!store.writeString(kOther, "Code0", "lost"));
            }
            QCOMPARE(store.getString(kOther, "Code0"), "lost");  // in effect for the run
            QCOMPARE(readFile(m_env.settingsFile()), before);
            QCOMPARE(QDir(QFileInfo(m_env.settingsFile()).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{"Vantrel.conf"});
        }
        QCOMPARE(reasons, QStringList(2, QString::fromLocal8Bit(std::strerror(EFBIG))));
        // Once the disk takes writes again, the next write stores what was lost too.
        QVERIFY(store.writeInt(kSection, "Keywords", 4));
        QCOMPARE(fromDisk(m_env)->getInt(kSection, "Keywords", 0), 4);
        QCOMPARE(fromDisk(m_env)->getString(kOther, "Code0"), "lost");
        store.setFailureReporter({});
    }

    // Two editors on one file: each reads what the other wrote, and a write
    // changes only its own entries.
    void twoStoresOnOneFile()
    {
        ProfileStore& mine = ProfileStore::app();
        ProfileStore theirs(m_env.settingsFile());
        QVERIFY(mine.writeInt(kSection, "Keywords", 1) && mine.writeString(kOther, "name0", "a"));
        QCOMPARE(theirs.getInt(kSection, "Keywords", 0), 1);
        // A change within one tick of the file clock: same size, same time.
        const QByteArray path = QFile::encodeName(m_env.settingsFile());
        struct stat before {};
        QCOMPARE(::stat(path.constData(), &before), 0);
        QVERIFY(theirs.writeInt(kSection, "Keywords", 5));
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
        QCOMPARE(mine.getInt(kSection, "Keywords", 0), 5);
        QVERIFY(theirs.writeString(kOther, "name0", QString()));
        QVERIFY(mine.writeInt(kSection, "Strings", 7));
        // A write made on a condition is dropped when the other store has
        // changed what the condition looks at.
        mine.beginBatch();
        QVERIFY(mine.writeString(kOther, "name1", "mine"));
        QVERIFY(theirs.writeString(kOther, "name1", "theirs"));
        const auto free = [](const ProfileStore& s) { return s.getString(kOther, "name1").isEmpty(); };
        QCOMPARE(mine.commitBatchIf(free), ProfileStore::Commit::Refused);
        QCOMPARE(mine.getString(kOther, "name1"), "theirs");
        const auto disk = fromDisk(m_env);
        QCOMPARE(disk->getString(kOther, "name1"), "theirs");
        QCOMPARE(disk->getInt(kSection, "Keywords", 0), 5);
        QCOMPARE(disk->getString(kOther, "name0", "deleted"), "deleted");
        QCOMPARE(disk->getInt(kSection, "Strings", 0), 7);

        // A settings file that links to one kept elsewhere stays a link.
        const QString kept = m_env.root() + QStringLiteral("/dotfiles.conf");
        QVERIFY(QFile::rename(m_env.settingsFile(), kept) && QFile::link(kept, m_env.settingsFile()));
        QVERIFY(mine.writeInt(kSection, "Labels", 8));
        QVERIFY(QFileInfo(m_env.settingsFile()).isSymLink());
        QCOMPARE(
            ProfileStore(kept).getInt(kSection, "Keywords", 0) * 10 + ProfileStore(kept).getInt(kSection, "Labels", 0),
            58);
    }

    // With a folder where the file belongs, every kind of setting is told
    // once, with the file and the system's reason, and is kept for the run.
    void unwritableSettingsAreToldOncePerKind()
    {
        QVERIFY(QDir().mkpath(m_env.settingsFile()));
        BoxRecorder boxes;
        ProfileStore& store = ProfileStore::app();
        {
            QWidget window;
            SettingsNotice notice(store, &window);
            for (int i = 0; i < 3; ++i) {
                QVERIFY(!store.writeInt(kSection, "Keywords", i));
                QVERIFY(!store.writeInt("Launch Settings", "g_game", i));
            }
            QCOMPARE(store.getInt(kSection, "Keywords", -1), 2);
        }
        QVERIFY(!store.writeInt(kSection, "Comments", 1));  // nobody listens any more
        QCOMPARE(boxes.boxes.size(), 2);
        const QString reason = QString::fromLocal8Bit(std::strerror(EISDIR));
        QVERIFY2(boxes.boxes[0].text.startsWith("The syntax highlighting colours could not be stored in the settings "
                                                "file " +
                                                m_env.settingsFile() + ":\n" + reason + "\n"),
                 qPrintable(boxes.boxes[0].text));
        QVERIFY(boxes.boxes[1].text.startsWith("The launch options could not"));
        QVERIFY(QDir().rmdir(m_env.settingsFile()));
        QVERIFY(store.writeInt(kOther, "After", 1));
        QCOMPARE(fromDisk(m_env)->getInt("Launch Settings", "g_game", -1), 2);
    }

    // A script names its includes with Windows spellings; the folders here are case-sensitive.
    void includedFilesAreFoundWithoutRegardToCase()
    {
        QTemporaryDir root;
        const QDir dir(root.path());
        QVERIFY(dir.mkpath("mission/Sub") && dir.mkpath("game"));
        writeFile(root.filePath("mission/Ships.SHP"), "");
        writeFile(root.filePath("mission/Sub/Brief01.scr"), "");
        writeFile(root.filePath("mission/brief02.scr"), "");
        writeFile(root.filePath("game/pcorvette.shp"), "");
        writeFile(root.filePath("game/ships.shp"), "");
        const QString m = root.filePath("mission"), g = root.filePath("game");

        // Beside the script first, though the game folder has the exact spelling.
        QCOMPARE(filelookup::find("ships.shp", m, g).matches, QStringList{root.filePath("mission/Ships.SHP")});
        QCOMPARE(filelookup::find("PCORVETTE.shp", m, g).matches, QStringList{root.filePath("game/pcorvette.shp")});
        QCOMPARE(filelookup::find("sub\\BRIEF01.SCR", m, g).matches,
                 QStringList{root.filePath("mission/Sub/Brief01.scr")});
        QCOMPARE(filelookup::find("brief0?.scr", m, g).matches,
                 QStringList{root.filePath("mission/brief02.scr")});  // a folder is no match
        QCOMPARE(filelookup::find("*.shp", m, g).matches.size(), 1);
        QCOMPARE(filelookup::find("*.shp", QString(), g).matches.size(), 2);

        const filelookup::Result none = filelookup::find("ships.sh", m, g);  // a prefix is not the name
        QVERIFY(none.matches.isEmpty());
        QCOMPARE(none.searched, (QStringList{QDir::toNativeSeparators(m), QDir::toNativeSeparators(g)}));
        QVERIFY(filelookup::find("mission", root.path(), QString()).matches.isEmpty());  // a folder is no file
    }

    // A save changes the text only: a file with several names keeps them,
    // one owned by another user keeps its owner and permissions.
    void saveKeepsLinksAndOwner()
    {
        QTemporaryDir dir;
        const QString a = writeFile(dir.filePath("a.iws"), "old\r\n"), b = dir.filePath("b.iws");
        QCOMPARE(::link(QFile::encodeName(a), QFile::encodeName(b)), 0);
        QString error;
        QVERIFY2(atomicfile::write(a, "new\r\n", &error), qPrintable(error));
        QCOMPARE(readFile(b), QByteArray("new\r\n"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(a), &st) == 0 && st.st_nlink == 2);

        const QString c = writeFile(dir.filePath("c.iws"), "old\r\n");
        if (::chown(QFile::encodeName(c), 65534, 65534) != 0)
            QSKIP("Only root can give a file to another user");
        QVERIFY(::chmod(QFile::encodeName(c), 0664) == 0);
        QVERIFY2(atomicfile::write(c, "new, and longer\r\n", &error), qPrintable(error));
        QCOMPARE(readFile(c), QByteArray("new, and longer\r\n"));
        QVERIFY(::stat(QFile::encodeName(c), &st) == 0);
        QVERIFY(st.st_uid == 65534 && st.st_gid == 65534 && (st.st_mode & 07777) == 0664);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"a.iws", "b.iws", "c.iws"}));
    }

    // A temporary file shows whose it is; one left by an editor killed while
    // saving goes at the next save into its folder. Those of editors that
    // still run, and other programs' files, stay.
    void abandonedTemporaryFilesAreRemoved()
    {
        QTemporaryDir dir;
        QProcess ended;
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 gone = ended.processId();
        QVERIFY(ended.waitForFinished());
        const QString stale =
            writeFile(dir.filePath(QStringLiteral(".s.iws.vantrel-%1-0123abcd.tmp").arg(gone)), "half");
        const QString running = writeFile(dir.filePath(".s.iws.vantrel-1-0123abcd.tmp"), "half");
        const QString foreign = writeFile(dir.filePath(".s.iws.tmp"), "theirs");
        atomicfile::Writer save(dir.filePath("s.iws"));
        QVERIFY(save.open() && save.write("new\r\n"));
        const QRegularExpression ours(QStringLiteral("^\\.s\\.iws\\.vantrel-%1-[0-9a-f]{8}\\.tmp$").arg(::getpid()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(ours).size(), 1);
        QVERIFY(save.commit());
        QVERIFY(!QFile::exists(stale));
        QVERIFY(QFile::exists(running) && QFile::exists(foreign));
        QCOMPARE(readFile(dir.filePath("s.iws")), QByteArray("new\r\n"));
    }

    // A copy of unsaved work keeps the text and its origin exactly. It is
    // offered once its writer has gone, to one editor at a time.
    void recoveryCopiesOutliveTheirWriter()
    {
        QTemporaryDir dir;
        const QString text = QString::fromUtf8("caf\u00e9 \u4e2d \U0001F600 \u20ac\r\nlast line");
        const QString path = dir.filePath("odd\nname %41.iws");
        const FileIdentity identity = FileIdentity::of(writeFile(dir.filePath("script.iws"), "END\r\n"));
        QVERIFY(identity.exists());
        {
            RecoveryJournal journal(dir.filePath("recovery"));
            const int kept = journal.newEntry(), untitled = journal.newEntry(), saved = journal.newEntry();
            journal.write(kept, path, identity, text);
            journal.write(saved, path, identity, text);
            journal.discard(saved);
            journal.flush();
            QTest::qWait(5);
            // A folder removed under the running editor is made again.
            QDir(dir.filePath("recovery")).removeRecursively();
            journal.write(untitled, QString(), FileIdentity(), QStringLiteral("first"));
            journal.write(untitled, QString(), FileIdentity(), QStringLiteral("replaced"));
            journal.write(kept, path, identity, text);
            journal.flush();
            QVERIFY(RecoveryJournal::Leftovers(dir.filePath("recovery")).copies().isEmpty());
        }
        {
            RecoveryJournal::Leftovers left(dir.filePath("recovery"));
            QCOMPARE(left.copies().size(), 2);
            const RecoveryJournal::Copy& first = left.copies()[0];
            QCOMPARE(first.path, path);
            QCOMPARE(RecoveryJournal::Leftovers::text(first), text);
            QVERIFY(first.identity == identity);
            QVERIFY(qAbs(first.time.secsTo(QDateTime::currentDateTime())) < 60);
            QCOMPARE(left.copies()[1].path, QString());
            QCOMPARE(RecoveryJournal::Leftovers::text(left.copies()[1]), QStringLiteral("replaced"));
            QVERIFY(RecoveryJournal::Leftovers(dir.filePath("recovery")).copies().isEmpty());
            left.discard(first);
        }
        {
            RecoveryJournal::Leftovers left(dir.filePath("recovery"));
            QCOMPARE(left.copies().size(), 1);
            left.discard(left.copies()[0]);
        }
        QCOMPARE(QDir(dir.filePath("recovery")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void codecAgreesWithIconv()
    {
        iconv_t cd = iconv_open("UTF-32LE", "WINDOWS-1252");
        QVERIFY(cd != iconv_t(-1));
        int undefined = 0;
        for (int b = 0x80; b <= 0xFF; ++b) {
            char in = char(b), *pin = &in;
            char32_t out = 0;
            char* pout = reinterpret_cast<char*>(&out);
            std::size_t inLeft = 1, outLeft = sizeof(out);
            // The five bytes that Windows-1252 leaves undefined keep their value.
            const bool defined = iconv(cd, &pin, &inLeft, &pout, &outLeft) != std::size_t(-1);
            undefined += !defined;
            QCOMPARE(uint(textcodec::decodeByte(uchar(b)).unicode()), uint(defined ? out : char32_t(b)));
        }
        iconv_close(cd);
        QCOMPARE(undefined, 5);
    }

    void codecRoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                all += char(b);
        }
        const textcodec::EncodeResult r = textcodec::encode(textcodec::decode(all));
        QCOMPARE(r.badIndex, qsizetype(-1));
        QCOMPARE(r.bytes, all);
        // CR LF, LF and a lone CR all load as a line feed; saved, it is CR LF.
        QCOMPARE(textcodec::decode("1\r\n2\n3\r4\r\r\n5"), "1\n2\n3\n4\n\n5");
        QCOMPARE(textcodec::encode(u"WAIT 1\n\n\tEND").bytes, QByteArray("WAIT 1\r\n\r\n\tEND"));
        // A character with no byte is reported where it stands, counted in characters.
        QCOMPARE(textcodec::encode(QString::fromUtf8("a\n\u00e9\u0394\u4e2d")).badIndex, qsizetype(3));
    }

    // A file is read a block at a time; it reads as it would whole, also
    // with a CR LF cut by a block's end and a lone CR as its last byte.
    void scriptFileReadsAsItWouldWhole()
    {
        QTemporaryDir dir;
        for (const qsizetype cut : {qsizetype(64 * 1024 - 1), qsizetype(128 * 1024 - 2)}) {
            QByteArray bytes(cut, 'x');
            bytes += "\r\nWAIT 1\r\n\x80";
            bytes += QByteArray(70000, 'y') + "\r";
            const QString path = writeFile(dir.filePath(QStringLiteral("s%1.iws").arg(cut)), bytes);
            const textcodec::ReadResult read = textcodec::readScriptFile(path);
            QCOMPARE(read.error, QString());
            QCOMPARE(read.text, textcodec::decode(bytes));
            QCOMPARE(read.text.count(QLatin1Char('\n')), 3);
        }
    }

    // A real box: Return presses the default button, Escape answers the last.
    void messageBoxButtons_data()
    {
        QTest::addColumn<unsigned>("flags");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes/No, Return") << unsigned(mb::MB_YESNO) << int(Qt::Key_Return) << mb::IDYES;
        QTest::newRow("Yes/No, second default")
            << (mb::MB_YESNO | mb::MB_DEFBUTTON2) << int(Qt::Key_Return) << mb::IDNO;
        QTest::newRow("Yes/No/Cancel, Escape") << unsigned(mb::MB_YESNOCANCEL) << int(Qt::Key_Escape) << mb::IDCANCEL;
        QTest::newRow("OK, Escape") << unsigned(mb::MB_OK) << int(Qt::Key_Escape) << mb::IDOK;
    }
    void messageBoxButtons()
    {
        QFETCH(unsigned, flags);
        QFETCH(int, key);
        QFETCH(int, answer);
        whenModal([key](QWidget* box) { QTest::keyClick(box, Qt::Key(key)); });
        QCOMPARE(mb::show(nullptr, QStringLiteral("text"), QStringLiteral("caption"), flags), answer);
    }

    void radioGroupIsOneTabStopWithArrowKeys()
    {
        TemplateDialog dlg(res::launchOptionsTemplate());
        dlg.controlAs<QAbstractButton>(ids::IDC_G_VIDEO_640)->setChecked(true);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        const auto isRadio = [&](int id) { return qobject_cast<QRadioButton*>(dlg.control(id)) != nullptr; };
        // Round the dialog: each group is entered once, at its ticked button,
        // or at its first when none is ticked.
        QList<int> radios;
        const int start = controlId(QApplication::focusWidget());
        for (int id = press(Qt::Key_Tab), n = 0; id != start && n < 50; id = press(Qt::Key_Tab), ++n) {
            if (isRadio(id))
                radios << id;
        }
        QCOMPARE(radios, (QList<int>{ids::IDC_G_VIDEO_640, ids::IDC_G_GAME}));
        // The arrow keys tick the next or previous button of the group, round its ends.
        dlg.control(ids::IDC_G_VIDEO_640)->setFocus();
        QCOMPARE(press(Qt::Key_Down), ids::IDC_G_VIDEO_800);
        QCOMPARE(press(Qt::Key_Right), ids::IDC_G_VIDEO);
        QCOMPARE(press(Qt::Key_Up), ids::IDC_G_VIDEO_800);
        for (int id : {ids::IDC_G_VIDEO, ids::IDC_G_VIDEO_FULLSCREEN, ids::IDC_G_VIDEO_640, ids::IDC_G_VIDEO_800})
            QCOMPARE(dlg.controlAs<QAbstractButton>(id)->isChecked(), id == ids::IDC_G_VIDEO_800);
        // Tab leaves the group, and Shift+Tab comes back to the button now ticked.
        QVERIFY(!isRadio(press(Qt::Key_Tab)));
        QCOMPARE(press(Qt::Key_Tab, Qt::ShiftModifier), ids::IDC_G_VIDEO_800);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
