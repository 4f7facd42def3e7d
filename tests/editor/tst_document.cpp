// Script files on disk: loading and saving through the document, the save
// prompt, and saves that must fail without harming the file.
#include "common/FileSizeLimit.h"
#include "common/TestEnv.h"
#include "editor/CVantrelView.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "resources/ids.h"
#include "shell/CMainFrame.h"
#include "shell/CVantrelDoc.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestDocument : public QObject {
    Q_OBJECT
    TestEnv env;
    QTemporaryDir dir;
    CMainFrame* frame = nullptr;
    CVantrelDoc* doc = nullptr;
    QList<mb::Box> boxes;
    int answer = mb::IDOK;

    QString path(const QString& name) const { return dir.filePath(name); }
    static void write(const QString& p, const QByteArray& bytes)
    {
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Replaces the text as typing would: an undoable change that marks the document modified.
    void edit(const QString& text)
    {
        QTextCursor c(frame->view()->document());
        c.select(QTextCursor::Document);
        c.insertText(text);
    }
    static QByteArray read(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void init()
    {
        boxes.clear();
        answer = mb::IDOK;
        mb::setAnswerer([this](const mb::Box& b) {
            boxes.append(b);
            return answer;
        });
        frame = new CMainFrame(nullptr);
        doc = frame->document();
        doc->OnNewDocument();
    }
    void cleanup()
    {
        doc->SetModifiedFlag(false);
        delete frame;
        mb::setAnswerer({});
        filedlg::setAnswerer({});
    }

    void newDocumentIsEmptyUntitledAndUnmodified()
    {
        QCOMPARE(frame->view()->rawText(), QString());
        QVERIFY(doc->GetPathName().isEmpty());
        QCOMPARE(doc->GetTitle(), QStringLiteral("Untitled"));
        QVERIFY(!doc->IsModified());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled - Vantrel"));
    }

    void everyByteValueRoundTrips()
    {
        QByteArray bytes;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                bytes += char(b);
        }
        bytes += "\r\nsecond line";
        write(path(QStringLiteral("bytes.iws")), bytes);
        QString error;
        QVERIFY2(doc->OnOpenDocument(path(QStringLiteral("bytes.iws")), &error), qPrintable(error));
        QVERIFY(!doc->IsModified());
        QCOMPARE(doc->GetTitle(), QStringLiteral("bytes.iws"));
        QCOMPARE(frame->windowTitle(), QStringLiteral("bytes.iws - Vantrel"));
        QCOMPARE(frame->view()->lineCount(), 2);
        QVERIFY2(doc->OnSaveDocument(path(QStringLiteral("out.iws")), &error), qPrintable(error));
        QCOMPARE(read(path(QStringLiteral("out.iws"))), bytes);
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
        write(path(QStringLiteral("in.iws")), file);
        QVERIFY(doc->OnOpenDocument(path(QStringLiteral("in.iws")), nullptr));
        QCOMPARE(frame->view()->lineCount(), lines);
        QVERIFY(!doc->IsModified());
        QVERIFY(doc->OnSaveDocument(path(QStringLiteral("in.iws")), nullptr));
        QCOMPARE(read(path(QStringLiteral("in.iws"))), saved);
    }

    void rtfLoadsAsItsLiteralCharacters()
    {
        const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;}\\f0\\pard\nThis is {\\b bold}.\\par\n}";
        write(path(QStringLiteral("doc.rtf")), rtf);
        QVERIFY(doc->OnOpenDocument(path(QStringLiteral("doc.rtf")), nullptr));
        QCOMPARE(frame->view()->rawText(), QString::fromLatin1(rtf));
    }

    void saveRefusesACharacterWithNoByte()
    {
        const QString p = path(QStringLiteral("keep.iws"));
        write(p, "old content\r\n");
        QVERIFY(doc->OnOpenDocument(p, nullptr));
        edit(QStringLiteral("line one\nline two \u4E2D here\n"));
        QVERIFY(doc->IsModified());
        frame->action(ids::ID_FILE_SAVE)->trigger();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].text.contains(QLatin1String("line 2")), qPrintable(boxes[0].text));
        QVERIFY(boxes[0].text.contains(QChar(0x4E2D)));
        QCOMPARE(read(p), QByteArray("old content\r\n"));
        QVERIFY(doc->IsModified());
    }

    void failedSaveLeavesTheOldFileAndSaysSo()
    {
        // Nothing can be created in /proc, not even by root.
        QString error;
        edit(QStringLiteral("text"));
        QVERIFY(!doc->OnSaveDocument(QStringLiteral("/proc/vantrel-test.iws"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(doc->IsModified());

        if (geteuid() != 0) {
            const QString folder = path(QStringLiteral("ro"));
            QVERIFY(QDir().mkpath(folder));
            const QString p = folder + QStringLiteral("/m.iws");
            write(p, "before");
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QVERIFY(!doc->OnSaveDocument(p, &error));
            QCOMPARE(read(p), QByteArray("before"));
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }

        // Through the command: the user is told, the document stays modified.
        boxes.clear();
        filedlg::setAnswerer([](const filedlg::Request&) { return QStringLiteral("/proc/vantrel-test.iws"); });
        frame->action(ids::ID_FILE_SAVE_AS)->trigger();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains(QLatin1String("/proc/vantrel-test.iws")));
        QVERIFY(doc->IsModified());
    }

    void saveOnAFullDiskKeepsTheOldFile()
    {
        const QString p = path(QStringLiteral("full.iws"));
        write(p, "the old script\r\n");
        QVERIFY(doc->OnOpenDocument(p, nullptr));
        edit(QString(200000, QLatin1Char('x')));
        QString error;
        {
            FileSizeLimit full(4096);
            QVERIFY(full.ok());
            QVERIFY(!doc->OnSaveDocument(p, &error));
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(read(p), QByteArray("the old script\r\n"));
        QVERIFY(doc->IsModified());
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("full.iws*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("full.iws")});  // no temporary file left behind
    }

    void saveAsProposesAScriptNameAndSetsThePath()
    {
        edit(QStringLiteral("END"));
        filedlg::Request asked;
        filedlg::setAnswerer([&](const filedlg::Request& r) {
            asked = r;
            return path(QStringLiteral("new.iws"));
        });
        frame->action(ids::ID_FILE_SAVE)->trigger();  // no path yet: Save As
        QVERIFY(asked.save);
        QVERIFY(asked.filter.contains(QLatin1String("Independence War Script Files (*.iws)")));
        QCOMPARE(doc->GetPathName(), path(QStringLiteral("new.iws")));
        QVERIFY(!doc->IsModified());
        QCOMPARE(read(path(QStringLiteral("new.iws"))), QByteArray("END"));
        // Cancel in the dialog saves nothing.
        edit(QStringLiteral("changed"));
        filedlg::setAnswerer([](const filedlg::Request&) { return QString(); });
        frame->action(ids::ID_FILE_SAVE_AS)->trigger();
        QCOMPARE(read(path(QStringLiteral("new.iws"))), QByteArray("END"));
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
        const QString p = path(QStringLiteral("prompt.iws"));
        write(p, "original");
        QVERIFY(doc->OnOpenDocument(p, nullptr));
        edit(QStringLiteral("edited"));
        answer = reply;
        frame->action(ids::ID_FILE_NEW)->trigger();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("Save changes to prompt.iws?"));
        QCOMPARE(frame->view()->rawText().isEmpty(), emptied);
        QCOMPARE(read(p), onDisk);
        // An unmodified document is not asked about.
        boxes.clear();
        doc->SetModifiedFlag(false);
        frame->action(ids::ID_FILE_NEW)->trigger();
        QVERIFY(boxes.isEmpty());
    }

    void closingAsksToSave()
    {
        frame->show();
        edit(QStringLiteral("unsaved"));
        answer = mb::IDCANCEL;
        QVERIFY(!frame->close());
        QCOMPARE(boxes.size(), 1);
        QVERIFY(frame->isVisible());
        answer = mb::IDNO;
        QVERIFY(frame->close());
    }

    void unreadableFileLeavesTheDocumentAndSaysSo()
    {
        edit(QStringLiteral("keep me"));
        QVERIFY(!doc->OpenWithMessages(path(QStringLiteral("missing.iws"))));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains(QLatin1String("missing.iws")));
        QCOMPARE(frame->view()->rawText(), QStringLiteral("keep me"));
        // A folder is not a script either.
        QVERIFY(!doc->OpenWithMessages(dir.path()));
        QCOMPARE(frame->view()->rawText(), QStringLiteral("keep me"));
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
