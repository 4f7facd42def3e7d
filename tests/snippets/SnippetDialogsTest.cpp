// The two snippet dialogs driven through their controls, with the real settings file.
#include "common/TestEnv.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "snippets/CAddSnippetDlg.h"
#include "snippets/CSnippetLibraryDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kSection(str::kSectionSnippets);
const QString kMissing(QStringLiteral("<missing>"));

}  // namespace

class SnippetDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        mb::setAnswerer([this](const mb::Box& box) {
            m_boxes.append(box);
            return mb::IDOK;
        });
    }

    void init()
    {
        m_env.resetSettings();
        m_boxes.clear();
    }

    void cleanupTestCase() { mb::setAnswerer({}); }

    void libraryWindowListsShowsAndHides()
    {
        const QString code = QStringLiteral("\tGENESIS\n\tVEL\t\tDreadnt,0,0,0");
        seed(0, "delta");
        seed(1, "Alpha");
        seed(2, "charlie", "Ends it", "End:\n\tEND");
        seed(3, "Bravo", "Sets up the player", code);
        seed(4, "", "free slot", "free code");
        seed(6, "alpha");
        seed(128, "zulu");
        ProfileStore::app().writeString(kSection, QStringLiteral("name007"), QStringLiteral("yankee"));

        CSnippetLibraryDlg& dlg = *new CSnippetLibraryDlg(ProfileStore::app());
        QPointer<CSnippetLibraryDlg> alive(&dlg);
        auto release = qScopeGuard([&] { delete alive; });
        QVERIFY(!dlg.isVisible() && !dlg.parentWidget());
        dlg.OnCodeSnippetLibrary();
        QVERIFY(dlg.isVisible());
        // Letters compare without regard to case; equal names keep their slot order.
        const QStringList names{"Alpha", "alpha", "Bravo", "charlie", "delta"};
        QCOMPARE(listTexts(dlg), names);
        QCOMPARE(selectedRow(dlg), -1);
        QCOMPARE(fields(dlg), (QStringList{"", ""}));
        clickRow(dlg, 2);
        QCOMPARE(fields(dlg), (QStringList{"Sets up the player", code}));

        // The code can be copied, but typing changes nothing.
        auto* codeField = dlg.controlAs<QPlainTextEdit>(ids::IDC_SNIPPET_CODE);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        codeField->setFocus();
        QTest::keySequence(codeField, QKeySequence::SelectAll);
        QTest::keySequence(codeField, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text().replace(QChar::ParagraphSeparator, u'\n'), code);
        QTest::keyClicks(codeField, QStringLiteral("xyz"));
        QCOMPARE(fields(dlg), (QStringList{"Sets up the player", code}));

        // The keyboard moves the selection too, and both texts are replaced whole.
        list(dlg)->setFocus();
        QTest::keyClick(list(dlg), Qt::Key_Down);
        QCOMPARE(selectedRow(dlg), 3);
        QCOMPARE(fields(dlg), (QStringList{"Ends it", "End:\n\tEND"}));

        // Closed in any way, the window only hides, and shows again as it was.
        const std::function<void()> closers[] = {
            [&] { dlg.controlAs<QPushButton>(ids::IDOK)->click(); },
            [&] { QTest::keyClick(list(dlg), Qt::Key_Escape); }, [&] { dlg.close(); },  // the caption's close box
        };
        for (const auto& close : closers) {
            list(dlg)->setFocus();
            close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // a deleted window goes now
            QVERIFY(alive && !dlg.isVisible());
            dlg.OnCodeSnippetLibrary();
            dlg.OnCodeSnippetLibrary();  // again while shown
            QVERIFY(dlg.isVisible());
            QCOMPARE(listTexts(dlg), names);
            QCOMPARE(selectedRow(dlg), 3);
            QCOMPARE(fields(dlg), (QStringList{"Ends it", "End:\n\tEND"}));
        }
    }

    void removeTakesOnlyTheSelectedSnippet()
    {
        seed(0, QStringLiteral("other"));
        seed(2, QStringLiteral("Intro"), QStringLiteral("low"), QStringLiteral("low code"));
        seed(5, QStringLiteral("intro"), QStringLiteral("lower"), QStringLiteral("lower code"));
        seed(9, QStringLiteral("Intro"), QStringLiteral("high"), QStringLiteral("high code"));
        CSnippetLibraryDlg dlg(ProfileStore::app());
        dlg.OnCodeSnippetLibrary();
        // Nothing selected, or an entry that no slot holds (as when the list
        // went wrong): nothing to remove.
        const QString untouched = m_env.settingsText();
        clickRemove(dlg);
        QCOMPARE(listTexts(dlg), (QStringList{"Intro", "intro", "Intro", "other"}));
        list(dlg)->item(3)->setText(QStringLiteral("ghost"));
        clickRow(dlg, 3);
        clickRemove(dlg);
        QCOMPARE(listTexts(dlg), (QStringList{"Intro", "intro", "Intro", "ghost"}));
        QCOMPARE(m_env.settingsText(), untouched);

        // Either "Intro" shows the higher slot; "intro" its own.
        const QStringList shown[] = {{"high", "high code"}, {"lower", "lower code"}, {"high", "high code"}};
        for (int row : {0, 1, 2}) {
            clickRow(dlg, row);
            QCOMPARE(fields(dlg), shown[row]);
        }
        // Removing "intro" takes its own entry, not the first that looks alike,
        // and leaves nothing selected.
        clickRow(dlg, 1);
        clickRemove(dlg);
        QCOMPARE(listTexts(dlg), (QStringList{"Intro", "Intro", "ghost"}));
        QCOMPARE(selectedRow(dlg), -1);
        QCOMPARE(fields(dlg), (QStringList{"", ""}));
        for (const char* entry : {"name5", "desc5", "code5"})
            QCOMPARE(stored(QLatin1String(entry)), kMissing);
        QVERIFY(!m_env.settingsText().contains(QLatin1String("lower")));
        // Of one name, the higher slot goes first, then the lower.
        clickRow(dlg, 1);
        clickRemove(dlg);
        QCOMPARE(stored(QStringLiteral("name9")), kMissing);
        QCOMPARE(stored(QStringLiteral("name2")), QLatin1String("Intro"));
        clickRow(dlg, 0);
        QCOMPARE(fields(dlg), (QStringList{"low", "low code"}));
        clickRemove(dlg);
        QCOMPARE(listTexts(dlg), QStringList{"ghost"});
        QCOMPARE(stored(QStringLiteral("name2")), kMissing);
    }

    void addStoresSnippetFromControls()
    {
        CSnippetLibraryDlg library(ProfileStore::app());
        const QString code = QStringLiteral("\tWAIT_TIME 100\n\tBRA\t\tEnd");
        QVERIFY(runAdd(library, code, [&](CAddSnippetDlg* d) {
            // OK leads the tab order, but waits for a name, so the typing starts there.
            QCOMPARE(nextTabStop(okButton(d)), descriptionEdit(d));
            QCOMPARE(nextTabStop(descriptionEdit(d)), d->control(ids::IDCANCEL));
            QCOMPARE(nextTabStop(d->control(ids::IDCANCEL)), nameEdit(d));
            QCOMPARE(nextTabStop(nameEdit(d)), okButton(d));
            QCOMPARE(d->focusWidget(), nameEdit(d));
            QTest::keyClicks(nameEdit(d), QStringLiteral("Wait and end"));

            // Return in the description starts a new line and leaves the dialog open.
            descriptionEdit(d)->setFocus();
            QTest::keyClicks(descriptionEdit(d), QStringLiteral("Waits,"));
            QTest::keyClick(descriptionEdit(d), Qt::Key_Return);
            QTest::keyClicks(descriptionEdit(d), QStringLiteral("then \"jumps\""));
            QVERIFY(d->isVisible());
            // Return in the name field presses OK.
            nameEdit(d)->setFocus();
            QTest::keyClick(nameEdit(d), Qt::Key_Return);
        }));
        QVERIFY(m_boxes.isEmpty());
        QCOMPARE(stored(QStringLiteral("name0")), QLatin1String("Wait and end"));
        QCOMPARE(stored(QStringLiteral("desc0")), QLatin1String("Waits,\nthen \"jumps\""));
        QCOMPARE(stored(QStringLiteral("code0")), code);

        // Listed at once although the dialog is hidden, and shown when selected.
        QVERIFY(!library.isVisible());
        library.OnCodeSnippetLibrary();
        QCOMPARE(listTexts(library), QStringList{"Wait and end"});
        clickRow(library, 0);
        QCOMPARE(fields(library), (QStringList{"Waits,\nthen \"jumps\"", code}));

        // An empty selection gives empty code; the same name a second slot.
        QVERIFY(addSnippet(library, QStringLiteral("Wait and end"), QString(), QString()));
        QCOMPARE(stored(QStringLiteral("name1")), QLatin1String("Wait and end"));
        QCOMPARE(stored(QStringLiteral("code1")), QString(""));
        QCOMPARE(listTexts(library), (QStringList{"Wait and end", "Wait and end"}));
    }

    void addWithoutOkStoresNothing()
    {
        seed(0, QStringLiteral("kept"), QStringLiteral("d"), QStringLiteral("c"));
        CSnippetLibraryDlg library(ProfileStore::app());
        const QString before = m_env.settingsText();
        const std::function<void(CAddSnippetDlg*)> closers[] = {
            [](CAddSnippetDlg* d) { d->controlAs<QPushButton>(ids::IDCANCEL)->click(); },
            [](CAddSnippetDlg* d) { QTest::keyClick(nameEdit(d), Qt::Key_Escape); },
            [](CAddSnippetDlg* d) { d->close(); },
            [](CAddSnippetDlg* d) {  // Return on a focused Cancel cancels
                d->control(ids::IDCANCEL)->setFocus();
                QTest::keyClick(d->control(ids::IDCANCEL), Qt::Key_Return);
            },
        };
        for (const auto& close : closers) {
            QVERIFY(runAdd(library, QStringLiteral("code"), [&](CAddSnippetDlg* d) {
                // Without a name, or with blanks only, nothing accepts.
                for (const QString& blank : {QString(), QStringLiteral("  ")}) {
                    nameEdit(d)->setText(blank);
                    QVERIFY(!okButton(d)->isEnabled());
                    QTest::keyClick(nameEdit(d), Qt::Key_Return);
                    d->accept();
                    QVERIFY(d->isVisible());
                }
                nameEdit(d)->setText(QStringLiteral("new"));
                QVERIFY(okButton(d)->isEnabled());
                close(d);
            }));
        }
        QCOMPARE(m_env.settingsText(), before);
        QCOMPARE(listTexts(library), QStringList{"kept"});
        QVERIFY(m_boxes.isEmpty());
    }

    void addToFullLibraryIsRefused()
    {
        ProfileStore& store = ProfileStore::app();
        store.beginBatch();
        for (int i = 0; i < 128; ++i)
            seed(i, QStringLiteral("s%1").arg(i));
        store.commitBatch();
        CSnippetLibraryDlg library(ProfileStore::app());
        const QString before = m_env.settingsText();

        QVERIFY(addSnippet(library, QStringLiteral("more"), QString(), QStringLiteral("code")));
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes[0].text, QString(str::kSnippetLibraryFull));
        QCOMPARE(m_boxes[0].caption, QString(str::kCaptionSnippetError));
        QCOMPARE(m_boxes[0].flags, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        QCOMPARE(m_env.settingsText(), before);
        QCOMPARE(list(library)->count(), 128);
        QCOMPARE(library.library().findSlot(QStringLiteral("more")), SnippetLibrary::kNoSlot);
    }

    void addFillsGapsAndKeepsTheView()
    {
        for (int i = 0; i < 10; ++i)
            seed(i, QStringLiteral("n%1").arg(i), QStringLiteral("d%1").arg(i));
        CSnippetLibraryDlg library(ProfileStore::app());
        library.OnCodeSnippetLibrary();
        clickRow(library, 3);
        clickRemove(library);
        clickRow(library, 4);  // n5

        QVERIFY(addSnippet(library, QStringLiteral("Zed  "), QStringLiteral("dz"), QStringLiteral("cz")));
        QVERIFY(addSnippet(library, QStringLiteral(" a"), QStringLiteral("da"), QStringLiteral("ca")));
        // Names are kept as typed, blanks and all.
        QCOMPARE(stored(QStringLiteral("name3")), QLatin1String("Zed  "));
        QCOMPARE(stored(QStringLiteral("name4")), QLatin1String("n4"));
        QCOMPARE(stored(QStringLiteral("name10")), QLatin1String(" a"));
        // Listed in order, letters without regard to case; the selection stays where it was.
        QCOMPARE(listTexts(library),
                 (QStringList{" a", "n0", "n1", "n2", "n4", "n5", "n6", "n7", "n8", "n9", "Zed  "}));
        QCOMPARE(selectedRow(library), 5);
        QCOMPARE(fields(library), (QStringList{"d5", ""}));
        clickRow(library, 10);
        QCOMPARE(fields(library), (QStringList{"dz", "cz"}));
    }

private:
    static QString stored(const QString& entry) { return ProfileStore::app().getString(kSection, entry, kMissing); }

    static void seed(int slot, const QString& name, const QString& description = "", const QString& code = "")
    {
        ProfileStore& store = ProfileStore::app();
        store.writeString(kSection, QStringLiteral("name%1").arg(slot), name);
        store.writeString(kSection, QStringLiteral("desc%1").arg(slot), description);
        store.writeString(kSection, QStringLiteral("code%1").arg(slot), code);
    }

    static QListWidget* list(const CSnippetLibraryDlg& d) { return d.controlAs<QListWidget>(ids::IDC_SNIPPET_LIST); }

    static QStringList listTexts(const CSnippetLibraryDlg& d)
    {
        QStringList texts;
        for (int i = 0; i < list(d)->count(); ++i)
            texts << list(d)->item(i)->text();
        return texts;
    }

    static int selectedRow(const CSnippetLibraryDlg& d)
    {
        const auto selected = list(d)->selectedItems();
        return selected.isEmpty() ? -1 : list(d)->row(selected.first());
    }

    // The description and the code shown.
    static QStringList fields(const CSnippetLibraryDlg& d)
    {
        return {d.controlAs<QPlainTextEdit>(ids::IDC_SNIPPET_DESCRIPTION)->toPlainText(),
                d.controlAs<QPlainTextEdit>(ids::IDC_SNIPPET_CODE)->toPlainText()};
    }

    // A click on a list entry, as the user makes it.
    static void clickRow(CSnippetLibraryDlg& d, int row)
    {
        list(d)->scrollToItem(list(d)->item(row));
        QTest::mouseClick(list(d)->viewport(), Qt::LeftButton, {},
                          list(d)->visualItemRect(list(d)->item(row)).center());
    }

    static void clickRemove(CSnippetLibraryDlg& d) { d.controlAs<QPushButton>(ids::IDC_REMOVE_SNIPPET)->click(); }
    static QLineEdit* nameEdit(CAddSnippetDlg* d) { return d->controlAs<QLineEdit>(ids::IDC_ADD_NAME); }

    static QPlainTextEdit* descriptionEdit(CAddSnippetDlg* d)
    {
        return d->controlAs<QPlainTextEdit>(ids::IDC_ADD_DESCRIPTION);
    }

    static QPushButton* okButton(CAddSnippetDlg* d) { return d->controlAs<QPushButton>(ids::IDOK); }

    static QWidget* nextTabStop(QWidget* w)
    {
        QWidget* next = w->nextInFocusChain();
        while (next != w && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    }

    // Runs OnAddCodeSnippet and hands its dialog to act once it is up.
    // False when the dialog never came up or act left it open.
    bool runAdd(CSnippetLibraryDlg& library, const QString& selected, const std::function<void(CAddSnippetDlg*)>& act)
    {
        bool acted = false;
        bool leftOpen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dlg = qobject_cast<CAddSnippetDlg*>(QApplication::activeModalWidget());
            if (!dlg || acted)
                return;
            acted = true;
            poll.stop();
            act(dlg);
            if ((leftOpen = dlg->isVisible()))
                dlg->reject();
        });
        poll.start();
        snippets::OnAddCodeSnippet(nullptr, library, selected);
        return acted && !leftOpen;
    }

    // Types a name and a description and presses OK.
    bool addSnippet(CSnippetLibraryDlg& library, const QString& name, const QString& description, const QString& code)
    {
        return runAdd(library, code, [&](CAddSnippetDlg* d) {
            nameEdit(d)->setText(name);
            descriptionEdit(d)->setPlainText(description);
            okButton(d)->click();
        });
    }

    TestEnv m_env;
    QList<mb::Box> m_boxes;
};

QTEST_MAIN(SnippetDialogsTest)
#include "SnippetDialogsTest.moc"
