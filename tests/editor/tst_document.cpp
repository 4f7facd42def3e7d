// Script files on disk: loading and saving through the document, the save
// prompt, and saves that must fail without harming the file.
#include "common/FileSizeLimit.h"
#include "common/Helpers.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "platform/FileDialogs.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>
#include <memory>

class TestDocument : public QObject {
    Q_OBJECT
    TestEnv env;
    QTemporaryDir dir;
    BoxRecorder rec;
    CMainFrame* frame = nullptr;
    CVantrelDoc* doc = nullptr;

    QString path(const QString& name) const { return dir.filePath(name); }
    // Replaces the text as typing would: an undoable change that marks the document modified.
    void edit(const QString& text)
    {
        QTextCursor c(frame->view()->document());
        c.select(QTextCursor::Document);
        c.insertText(text);
    }
    bool open(const QString& name, const QByteArray& bytes)
    {
        return doc->OnOpenDocument(writeFile(path(name), bytes), nullptr);
    }

private slots:
    void init()
    {
        rec.boxes.clear();
        rec.answer = mb::IDOK;
        frame = new CMainFrame(nullptr);
        doc = frame->document();
        doc->OnNewDocument();
    }
    void cleanup()
    {
        doc->SetModifiedFlag(false);
        delete frame;
        filedlg::setAnswerer({});
    }

    void everyByteValueRoundTrips()
    {
        QByteArray bytes;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                bytes += char(b);
        }
        bytes += "\r\nsecond line";
        QVERIFY(open(QStringLiteral("bytes.iws"), bytes));
        QVERIFY(!doc->IsModified());
        QCOMPARE(frame->view()->lineCount(), 2);
        QString error;
        QVERIFY2(doc->OnSaveDocument(path(QStringLiteral("out.iws")), &error), qPrintable(error));
        QCOMPARE(readFile(path(QStringLiteral("out.iws"))), bytes);
    }

    void lineEndsLoadAsBreaksAndSaveAsCrLf_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<int>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n") << 3;
        QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n") << 3;
        QTest::newRow("lone CR") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n") << 3;
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QByteArray("a\r\nb\r\nc\r\nd") << 4;
        QTest::newRow("no final line end") << QByteArray("a\r\nlast") << QByteArray("a\r\nlast") << 2;
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb") << 3;
        QTest::newRow("empty") << QByteArray() << QByteArray() << 1;
    }
    void lineEndsLoadAsBreaksAndSaveAsCrLf()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        QFETCH(int, lines);
        QVERIFY(open(QStringLiteral("in.iws"), file));
        QCOMPARE(frame->view()->lineCount(), lines);
        QVERIFY(doc->OnSaveDocument(path(QStringLiteral("in.iws")), nullptr));
        QCOMPARE(readFile(path(QStringLiteral("in.iws"))), saved);
    }

    void rtfLoadsAsItsLiteralCharacters()
    {
        const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;}\\f0\\pard\nThis is {\\b bold}.\\par\n}";
        QVERIFY(open(QStringLiteral("doc.rtf"), rtf));
        QCOMPARE(frame->view()->rawText(), QString::fromLatin1(rtf));
    }

    void saveRefusesACharacterWithNoByte()
    {
        QVERIFY(open(QStringLiteral("keep.iws"), "old content\r\n"));
        edit(QStringLiteral("line one\nline two \u4E2D here\n"));
        frame->action(ids::ID_FILE_SAVE)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY2(rec.boxes[0].text.contains(QLatin1String("line 2")), qPrintable(rec.boxes[0].text));
        QVERIFY(rec.boxes[0].text.contains(QChar(0x4E2D)));
        QCOMPARE(readFile(path(QStringLiteral("keep.iws"))), QByteArray("old content\r\n"));
        QVERIFY(doc->IsModified());
    }

    // /proc takes no new file, not even from root; a read-only folder
    // (meaningless for root); a full disk.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("/proc") << QStringLiteral("/proc");
        QTest::newRow("read-only folder") << QStringLiteral("ro");
        QTest::newRow("full disk") << QStringLiteral("full");
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, where);
        if (where == QLatin1String("ro") && geteuid() == 0)
            QSKIP("root writes into read-only folders");
        const QString folder = where.startsWith(QLatin1Char('/')) ? where : path(where);
        QVERIFY(QDir().mkpath(folder));
        const QString p = folder + QStringLiteral("/old.iws");
        if (where != QLatin1String("/proc"))
            QVERIFY(open(where + QStringLiteral("/old.iws"), "the old script\r\n"));
        edit(QString(200000, QLatin1Char('x')));
        if (where == QLatin1String("ro"))
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QString error;
        {
            std::unique_ptr<FileSizeLimit> full;
            if (where == QLatin1String("full"))
                full = std::make_unique<FileSizeLimit>(4096);
            QVERIFY(!full || full->ok());
            QVERIFY(!doc->OnSaveDocument(p, &error));
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!error.isEmpty());
        QVERIFY(doc->IsModified());
        if (where == QLatin1String("/proc"))
            return;
        QCOMPARE(readFile(p), QByteArray("the old script\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.iws")});
    }

    void saveAsProposesAScriptNameAndSetsThePath()
    {
        const QString p = path(QStringLiteral("new.iws"));
        edit(QStringLiteral("END"));
        filedlg::Request asked;
        filedlg::setAnswerer([&](const filedlg::Request& r) {
            asked = r;
            return p;
        });
        frame->action(ids::ID_FILE_SAVE)->trigger();  // no path yet: Save As
        QVERIFY(asked.save);
        QVERIFY(asked.filter.contains(QLatin1String("Independence War Script Files (*.iws)")));
        QCOMPARE(doc->GetPathName(), p);
        QVERIFY(!doc->IsModified());
        QCOMPARE(readFile(p), QByteArray("END"));
        // Cancel in the dialog saves nothing.
        edit(QStringLiteral("changed"));
        filedlg::setAnswerer([](const filedlg::Request&) { return QString(); });
        frame->action(ids::ID_FILE_SAVE_AS)->trigger();
        QCOMPARE(readFile(p), QByteArray("END"));
        QVERIFY(doc->IsModified());
        // A failed save through the command is reported by name.
        filedlg::setAnswerer([](const filedlg::Request&) { return QStringLiteral("/proc/vantrel-test.iws"); });
        frame->action(ids::ID_FILE_SAVE_AS)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(rec.boxes[0].text.contains(QLatin1String("/proc/vantrel-test.iws")));
        QVERIFY(doc->IsModified());
    }

    void newAsksToSaveAModifiedDocument_data()
    {
        QTest::addColumn<int>("reply");
        QTest::addColumn<bool>("emptied");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("Yes saves") << int(mb::IDYES) << true << QByteArray("edited");
        QTest::newRow("No discards") << int(mb::IDNO) << true << QByteArray("original");
        QTest::newRow("Cancel keeps") << int(mb::IDCANCEL) << false << QByteArray("original");
    }
    void newAsksToSaveAModifiedDocument()
    {
        QFETCH(int, reply);
        QFETCH(bool, emptied);
        QFETCH(QByteArray, onDisk);
        QVERIFY(open(QStringLiteral("prompt.iws"), "original"));
        edit(QStringLiteral("edited"));
        rec.answer = reply;
        frame->action(ids::ID_FILE_NEW)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].text, QStringLiteral("Save changes to prompt.iws?"));
        QCOMPARE(frame->view()->rawText().isEmpty(), emptied);
        QCOMPARE(readFile(path(QStringLiteral("prompt.iws"))), onDisk);
        // An unmodified document is not asked about.
        doc->SetModifiedFlag(false);
        frame->action(ids::ID_FILE_NEW)->trigger();
        QCOMPARE(rec.boxes.size(), 1);
    }

    void closingAsksToSave()
    {
        frame->show();
        edit(QStringLiteral("unsaved"));
        rec.answer = mb::IDCANCEL;
        QVERIFY(!frame->close());
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(frame->isVisible());
        rec.answer = mb::IDNO;
        QVERIFY(frame->close());
    }

    void unreadableFileLeavesTheDocumentAndSaysSo()
    {
        edit(QStringLiteral("keep me"));
        QVERIFY(!doc->OpenWithMessages(path(QStringLiteral("missing.iws"))));
        QCOMPARE(rec.boxes.size(), 1);
        QVERIFY(rec.boxes[0].text.contains(QLatin1String("missing.iws")));
        QVERIFY(!doc->OpenWithMessages(dir.path()));  // a folder is no script either
        QCOMPARE(frame->view()->rawText(), QStringLiteral("keep me"));
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
