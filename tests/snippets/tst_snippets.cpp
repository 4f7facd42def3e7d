// The snippet library on the real settings file, its two dialogs and the
// commands driven through their controls as the user does, and the mission
// template.
#include "common/Helpers.h"
#include "common/Modal.h"
#include "common/TestEnv.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "resources/style.h"
#include "snippets/BasicTemplate.h"
#include "snippets/CSnippetLibraryDlg.h"
#include "snippets/SnippetCommands.h"

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace ids;

namespace {

const QString kSection(str::kSectionSnippets);

QString stored(const QString& entry) { return ProfileStore::app().getString(kSection, entry, "<missing>"); }
void seed(int slot, const QString& name, const QString& description = "", const QString& code = "")
{
    for (const auto& [key, value] : {std::pair{"name", name}, {"desc", description}, {"code", code}})
        ProfileStore::app().writeString(kSection, key + QString::number(slot), value);
}

QListWidget* list(QWidget* d) { return qobject_cast<TemplateDialog*>(d)->controlAs<QListWidget>(IDC_SNIPPET_LIST); }
QPlainTextEdit* field(QWidget* d, int id) { return qobject_cast<TemplateDialog*>(d)->controlAs<QPlainTextEdit>(id); }
QStringList listed(QWidget* d)
{
    QStringList texts;
    for (int i = 0; i < list(d)->count(); ++i)
        texts << list(d)->item(i)->text();
    return texts;
}
// The selected row, then the description and the code shown.
QStringList shown(QWidget* d)
{
    const auto selected = list(d)->selectedItems();
    return {QString::number(selected.isEmpty() ? -1 : list(d)->row(selected.first())),
            field(d, IDC_SNIPPET_DESCRIPTION)->toPlainText(), field(d, IDC_SNIPPET_CODE)->toPlainText()};
}
QPoint rowCentre(QWidget* d, int row) { return list(d)->visualItemRect(list(d)->item(row)).center(); }
void clickRow(QWidget* d, int row) { QTest::mouseClick(list(d)->viewport(), Qt::LeftButton, {}, rowCentre(d, row)); }
void clickRemove(QWidget* d) { qobject_cast<TemplateDialog*>(d)->controlAs<QPushButton>(IDC_REMOVE_SNIPPET)->click(); }

// Keys as the user types them, each to the control that has the focus then;
// "\t" is Tab, "\r" Return and "\x1b" Escape.
void type(const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}
int focused() { return QApplication::focusWidget() ? QApplication::focusWidget()->property("controlId").toInt() : 0; }

}  // namespace

class TestSnippets : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env.resetSettings(); }

    void storeSlots()
    {
        ProfileStore& store = ProfileStore::app();
        SnippetLibrary lib;
        lib.store(store, 0, "Intro", QString(), QString());
        QCOMPARE(stored("code0"), QString(""));  // written empty, not left out
        // The store is asked, not memory.
        store.writeString(kSection, "name1", "elsewhere");
        QCOMPARE(SnippetLibrary::findFreeSlot(store), 2);
        // Of equal names the highest slot is found, and only the exact name finds it.
        lib.store(store, 2, "Intro", "d", "c");
        QCOMPARE(lib.findSlot("Intro"), 2);
        for (const QString& other : {QString("INTRO"), QString("Intro "), QString()})
            QCOMPARE(lib.findSlot(other), SnippetLibrary::kNoSlot);
        // Removal deletes the three entries and frees the slot, in the store and in memory.
        lib.remove(store, 2);
        for (const char* entry : {"name2", "desc2", "code2"})
            QCOMPARE(stored(QLatin1String(entry)), "<missing>");
        QCOMPARE(lib.findSlot("Intro"), 0);
        QCOMPARE(SnippetLibrary::findFreeSlot(store), 2);
    }

    void libraryBesideTheFrame()
    {
        const QString code = "\tGENESIS\n\tVEL\t\tDreadnt,0,0,0";
        const QString longText = QStringLiteral("A description longer than its box. ").repeated(20);
        for (const auto& [slot, name] : {std::pair{0, "delta"}, {6, "alpha"}, {128, "zulu"}})
            seed(slot, name);
        seed(1, "Alpha", "low");
        seed(9, "Alpha", "high", "high code");
        seed(2, "charlie", longText, "End:\n\tEND");
        seed(3, "Bravo", "Sets up the player", code);
        seed(4, "", "free slot", "free code");
        ProfileStore::app().writeString(kSection, "name007", "yankee");
        const QString untouched = m_env.settingsText();

        QWidget frame;
        frame.show();
        SnippetCommands commands(&frame, ProfileStore::app());
        QSignalSpy inserted(&commands, &SnippetCommands::insertSnippet);
        QWidget* d = commands.libraryWindow();
        QVERIFY(d->isWindow() && d->parentWidget() == &frame && !d->isVisible());  // goes with the frame
        commands.OnCodeSnippetLibrary();
        QVERIFY(QTest::qWaitForWindowExposed(d));
        // Letters compare without regard to case; equal names keep their slot order.
        const QStringList names{"Alpha", "alpha", "Alpha", "Bravo", "charlie", "delta"};
        QCOMPARE(listed(d), names);
        QCOMPARE(shown(d), (QStringList{"-1", "", ""}));
        clickRemove(d);  // with nothing selected: nothing to remove
        QCOMPARE(m_env.settingsText(), untouched);
        clickRow(d, 3);
        QCOMPARE(shown(d), (QStringList{"3", "Sets up the player", code}));
        QTest::keyClick(list(d), Qt::Key_Down);
        QCOMPARE(shown(d), (QStringList{"4", longText, "End:\n\tEND"}));
        QTRY_VERIFY(field(d, IDC_SNIPPET_DESCRIPTION)->verticalScrollBar()->isVisible());

        // Code in the editor's fixed-pitch font, a tab as wide as its blanks.
        QPlainTextEdit* codeField = field(d, IDC_SNIPPET_CODE);
        QVERIFY(QFontInfo(codeField->font()).fixedPitch());
        QCOMPARE(codeField->tabStopDistance(),
                 QFontMetricsF(codeField->font()).horizontalAdvance(u' ') * res::kTabWidth);

        // A double-click, or Enter on the selected entry, asks for its code
        // to be inserted; the library stays open.
        clickRow(d, 3);  // the first click of a double-click
        QTest::mouseDClick(list(d)->viewport(), Qt::LeftButton, {}, rowCentre(d, 3));
        list(d)->setFocus();
        QTest::keyClick(list(d), Qt::Key_Return);
        QCOMPARE(QList<QVariantList>(inserted), (QList<QVariantList>{{code}, {code}}));
        QVERIFY(d->isVisible());

        // Closed, the window only hides, and shows again as it was.
        QTest::keyClick(list(d), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        commands.OnCodeSnippetLibrary();
        QCOMPARE(listed(d), names);
        QCOMPARE(shown(d), (QStringList{"3", "Sets up the player", code}));

        // Either "Alpha" shows the higher slot. Removing "alpha" takes its own
        // entry, not the first that looks alike, and leaves nothing selected.
        clickRow(d, 0);
        QCOMPARE(shown(d), (QStringList{"0", "high", "high code"}));
        clickRow(d, 1);
        clickRemove(d);
        QCOMPARE(listed(d).mid(0, 3), (QStringList{"Alpha", "Alpha", "Bravo"}));
        QCOMPARE(shown(d), (QStringList{"-1", "", ""}));
        QCOMPARE(stored("name6"), "<missing>");
        // Of one name, the higher slot goes first, then the lower.
        clickRow(d, 1);
        clickRemove(d);
        QCOMPARE(stored("name9"), "<missing>");
        clickRow(d, 0);
        QCOMPARE(shown(d), (QStringList{"0", "low", ""}));
    }

    void addAsTheUserTypes()
    {
        for (int i = 0; i < 4; ++i)
            seed(i, QStringLiteral("n%1").arg(i), QStringLiteral("d%1").arg(i));
        SnippetCommands commands(nullptr, ProfileStore::app());
        QWidget* d = commands.libraryWindow();
        commands.OnCodeSnippetLibrary();
        clickRow(d, 1);
        clickRemove(d);  // n1: its slot is the first free one
        clickRow(d, 2);  // n3
        // The dialog opens in the name field, OK waiting for a name; Tab goes
        // on to the description, whose blanks are text, then OK and Cancel.
        QList<int> order;
        whenModal([&](QWidget* add) {
            QVERIFY(!qobject_cast<TemplateDialog*>(add)->control(IDOK)->isEnabled());
            order << focused();
            type("Wait and end\tWaits, then ends\rfor good");
            for (int i = 0; i < 3; ++i) {
                type("\t");
                order << focused();
            }
            type("\r");  // in the name field: OK
        });
        commands.OnAddCodeSnippet("\tWAIT_TIME 100\n\tEND");
        QCOMPARE(order, (QList<int>{IDC_ADD_NAME, IDOK, IDCANCEL, IDC_ADD_NAME}));
        QCOMPARE((QStringList{stored("name1"), stored("desc1"), stored("code1")}),
                 (QStringList{"Wait and end", "Waits, then ends\nfor good", "\tWAIT_TIME 100\n\tEND"}));
        // Listed at its place at once; the selection and the fields stay.
        QCOMPARE(listed(d), (QStringList{"n0", "n2", "n3", "Wait and end"}));
        QCOMPARE(shown(d), (QStringList{"2", "d3", ""}));
    }

    void addThatStoresNothing()
    {
        seed(0, "kept", "d", "c");
        SnippetCommands commands(nullptr, ProfileStore::app());
        const QString before = m_env.settingsText();
        BoxRecorder boxes;
        // Escape, and Return on Cancel, cancel; a blank name accepts in no way.
        for (const char* keys : {"\x1b", "\t\t\t\r"}) {
            whenModal([&](QWidget* add) {
                type("  \r");
                qobject_cast<QDialog*>(add)->accept();
                QVERIFY(add->isVisible());
                type(QString("new") + keys);
            });
            commands.OnAddCodeSnippet("code");
        }
        QCOMPARE(m_env.settingsText(), before);

        // A full library is told after OK, and nothing is stored.
        ProfileStore::app().beginBatch();
        for (int i = 1; i < SnippetLibrary::kSlotCount; ++i)
            seed(i, QStringLiteral("s%1").arg(i));
        ProfileStore::app().commitBatch();
        const QString full = m_env.settingsText();
        whenModal([](QWidget*) { type("more\r"); });
        commands.OnAddCodeSnippet("code");
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE((QStringList{boxes.boxes[0].text, boxes.boxes[0].caption, QString::number(boxes.boxes[0].flags)}),
                 (QStringList{str::kSnippetLibraryFull, str::kCaptionSnippetError, "48"}));  // OK, exclamation
        QCOMPARE(m_env.settingsText(), full);
    }

    // Two editors on one settings file: each adds to the library as the file
    // has it now, and shows the other's snippets when its library is shown.
    void twoEditorsShareTheLibrary()
    {
        ProfileStore theirs(m_env.settingsFile());
        SnippetCommands mine(nullptr, ProfileStore::app());
        SnippetCommands other(nullptr, theirs);
        BoxRecorder boxes;
        whenModal([](QWidget*) { type("first\r"); });
        mine.OnAddCodeSnippet("1");
        whenModal([](QWidget*) { type("second\r"); });
        other.OnAddCodeSnippet("2");
        QCOMPARE((QStringList{stored("name0"), stored("code0"), stored("name1"), stored("code1")}),
                 (QStringList{"first", "1", "second", "2"}));
        mine.OnCodeSnippetLibrary();
        QCOMPARE(listed(mine.libraryWindow()), (QStringList{"first", "second"}));

        // The last free slot is taken before the library counts as full.
        theirs.beginBatch();
        for (int i = 2; i < SnippetLibrary::kSlotCount - 1; ++i)
            theirs.writeString(kSection, QStringLiteral("name%1").arg(i), QStringLiteral("s%1").arg(i));
        QVERIFY(theirs.commitBatch());
        for (const char* name : {"last\r", "more\r"}) {
            whenModal([&](QWidget*) { type(name); });
            mine.OnAddCodeSnippet("code");
        }
        QCOMPARE(stored("name127"), "last");
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].text, str::kSnippetLibraryFull);
        QCOMPARE(listed(mine.libraryWindow()).size(), SnippetLibrary::kSlotCount);
    }

    void templateShape()
    {
        const QString text = BasicTemplate::text();
        QCOMPARE(text.toLatin1(), text.toUtf8());  // 7-bit only
        QVERIFY(!text.contains(u'\r') && text.startsWith(u'\n') && text.endsWith(QLatin1String("\n\tEND\n")));
        const QStringList lines = text.split(u'\n');
        QCOMPARE(lines.size(), 119 + 1);  // and nothing after the last line feed
        // Lines 13 to 15: the disclaimer, in capitals.
        for (const QString& line : lines.mid(12, 3))
            QVERIFY2(line.startsWith(QLatin1String("; ")) && line.size() > 20 && line == line.toUpper(),
                     qPrintable(line));
    }

private:
    TestEnv m_env;
};

QTEST_MAIN(TestSnippets)
#include "tst_snippets.moc"
