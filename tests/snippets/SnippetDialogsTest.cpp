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
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString kSection(str::kSectionSnippets);
const QString kMissing(QStringLiteral("<missing>"));

QString stored(const QString& entry) { return ProfileStore::app().getString(kSection, entry, kMissing); }

void seed(int slot, const QString& name, const QString& description = QString(), const QString& code = QString())
{
    ProfileStore& store = ProfileStore::app();
    store.writeString(kSection, QStringLiteral("name%1").arg(slot), name);
    store.writeString(kSection, QStringLiteral("desc%1").arg(slot), description.isNull() ? QString("") : description);
    store.writeString(kSection, QStringLiteral("code%1").arg(slot), code.isNull() ? QString("") : code);
}

QListWidget* list(const CSnippetLibraryDlg& d) { return d.controlAs<QListWidget>(ids::IDC_SNIPPET_LIST); }
QPlainTextEdit* descriptionField(const CSnippetLibraryDlg& d)
{
    return d.controlAs<QPlainTextEdit>(ids::IDC_SNIPPET_DESCRIPTION);
}
QPlainTextEdit* codeField(const CSnippetLibraryDlg& d) { return d.controlAs<QPlainTextEdit>(ids::IDC_SNIPPET_CODE); }

QStringList listTexts(const CSnippetLibraryDlg& d)
{
    QStringList texts;
    for (int i = 0; i < list(d)->count(); ++i)
        texts << list(d)->item(i)->text();
    return texts;
}

int selectedRow(const CSnippetLibraryDlg& d)
{
    const auto selected = list(d)->selectedItems();
    return selected.isEmpty() ? -1 : list(d)->row(selected.first());
}

// A click on a list entry, as the user makes it.
void clickRow(CSnippetLibraryDlg& d, int row)
{
    QListWidgetItem* item = list(d)->item(row);
    list(d)->scrollToItem(item);
    QTest::mouseClick(list(d)->viewport(), Qt::LeftButton, {}, list(d)->visualItemRect(item).center());
}

void clickRemove(CSnippetLibraryDlg& d) { d.controlAs<QPushButton>(ids::IDC_REMOVE_SNIPPET)->click(); }

QWidget* nextTabStop(QWidget* w)
{
    QWidget* next = w->nextInFocusChain();
    while (next != w && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

QLineEdit* nameEdit(CAddSnippetDlg* d) { return d->controlAs<QLineEdit>(ids::IDC_ADD_NAME); }
QPlainTextEdit* descriptionEdit(CAddSnippetDlg* d) { return d->controlAs<QPlainTextEdit>(ids::IDC_ADD_DESCRIPTION); }
QPushButton* okButton(CAddSnippetDlg* d) { return d->controlAs<QPushButton>(ids::IDOK); }

}  // namespace

class SnippetDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { mb::setAnswerer({}); }

    void listShowsStoredNamesSorted();
    void selectingShowsDescriptionAndCode();
    void removeDeletesSelectedSnippet();
    void sameNamesFindHigherSlot();
    void namesDifferingInCaseStayApart();
    void closingOnlyHides();
    void codeCanBeCopied();
    void addStoresSnippetFromControls();
    void addKeepsLibraryViewAsItWas();
    void addWantsName();
    void addCancelStoresNothing();
    void addToFullLibraryIsRefused();
    void addFillsGapLeftByRemove();
    void unusualTextsSurviveRestart();
    void longNameWorksThroughout();

private:
    // Runs OnAddCodeSnippet and hands its dialog to action once it is up.
    // Returns false when the action left the dialog open.
    bool runAdd(CSnippetLibraryDlg& library, const QString& selected,
                const std::function<void(CAddSnippetDlg*)>& action);
    // Types a name and a description and presses OK.
    bool addSnippet(CSnippetLibraryDlg& library, const QString& name, const QString& description, const QString& code);

    TestEnv m_env;
    QList<mb::Box> m_boxes;
};

void SnippetDialogsTest::initTestCase()
{
    mb::setAnswerer([this](const mb::Box& box) {
        m_boxes.append(box);
        return mb::IDOK;
    });
}

void SnippetDialogsTest::init()
{
    m_env.resetSettings();
    m_boxes.clear();
}

bool SnippetDialogsTest::runAdd(CSnippetLibraryDlg& library, const QString& selected,
                                const std::function<void(CAddSnippetDlg*)>& action)
{
    bool leftOpen = false;
    bool seen = false;
    std::function<void(int)> poll = [&](int triesLeft) {
        auto* dlg = qobject_cast<CAddSnippetDlg*>(QApplication::activeModalWidget());
        if (!dlg) {
            if (triesLeft > 0)
                QTimer::singleShot(10, [&, triesLeft] { poll(triesLeft - 1); });
            return;
        }
        seen = true;
        action(dlg);
        QPointer<CAddSnippetDlg> open(dlg);
        QTimer::singleShot(0, [open, &leftOpen] {
            if (open && open->isVisible()) {
                leftOpen = true;
                open->reject();
            }
        });
    };
    QTimer::singleShot(0, [&] { poll(500); });
    snippets::OnAddCodeSnippet(nullptr, library, selected);
    // A poll still pending would outlive its captures.
    if (!QTest::qWaitFor([&] { return seen; }, 6000))
        return false;
    QTest::qWait(0);
    return !leftOpen;
}

bool SnippetDialogsTest::addSnippet(CSnippetLibraryDlg& library, const QString& name, const QString& description,
                                    const QString& code)
{
    return runAdd(library, code, [&](CAddSnippetDlg* d) {
        nameEdit(d)->setText(name);
        descriptionEdit(d)->setPlainText(description);
        okButton(d)->click();
    });
}

void SnippetDialogsTest::listShowsStoredNamesSorted()
{
    seed(0, QStringLiteral("delta"));
    seed(1, QStringLiteral("Alpha"));
    seed(2, QStringLiteral("charlie"));
    seed(3, QStringLiteral("Bravo"));
    seed(4, QString(""), QStringLiteral("free slot"), QStringLiteral("free code"));
    seed(6, QStringLiteral("alpha"));
    seed(128, QStringLiteral("zulu"));
    ProfileStore::app().writeString(kSection, QStringLiteral("name007"), QStringLiteral("yankee"));

    CSnippetLibraryDlg dlg(ProfileStore::app());
    QVERIFY(!dlg.isVisible());
    QVERIFY(!dlg.parentWidget());
    const QStringList expected{QStringLiteral("Alpha"), QStringLiteral("alpha"), QStringLiteral("Bravo"),
                               QStringLiteral("charlie"), QStringLiteral("delta")};
    QCOMPARE(listTexts(dlg), expected);

    dlg.OnCodeSnippetLibrary();
    QVERIFY(dlg.isVisible());
    QCOMPARE(listTexts(dlg), expected);
    QCOMPARE(selectedRow(dlg), -1);
    QVERIFY(descriptionField(dlg)->toPlainText().isEmpty());
    QVERIFY(codeField(dlg)->toPlainText().isEmpty());
}

void SnippetDialogsTest::selectingShowsDescriptionAndCode()
{
    seed(0, QStringLiteral("Start"), QStringLiteral("Sets up the player"), QStringLiteral("\tGENESIS\n\tGROUP 1"));
    seed(1, QStringLiteral("End"), QStringLiteral("Ends it"), QStringLiteral("End:\n\tEND"));
    CSnippetLibraryDlg dlg(ProfileStore::app());
    dlg.OnCodeSnippetLibrary();
    QCOMPARE(listTexts(dlg), (QStringList{QStringLiteral("End"), QStringLiteral("Start")}));

    clickRow(dlg, 1);
    QCOMPARE(selectedRow(dlg), 1);
    QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("Sets up the player"));
    QCOMPARE(codeField(dlg)->toPlainText(), QLatin1String("\tGENESIS\n\tGROUP 1"));
    QVERIFY(descriptionField(dlg)->isReadOnly() && codeField(dlg)->isReadOnly());

    // The keyboard moves the selection too, and both texts are replaced whole.
    list(dlg)->setFocus();
    QTest::keyClick(list(dlg), Qt::Key_Up);
    QCOMPARE(selectedRow(dlg), 0);
    QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("Ends it"));
    QCOMPARE(codeField(dlg)->toPlainText(), QLatin1String("End:\n\tEND"));

    // Typing into a read-only field changes nothing.
    codeField(dlg)->setFocus();
    QTest::keyClicks(codeField(dlg), QStringLiteral("xyz"));
    QCOMPARE(codeField(dlg)->toPlainText(), QLatin1String("End:\n\tEND"));
}

void SnippetDialogsTest::removeDeletesSelectedSnippet()
{
    seed(0, QStringLiteral("one"), QStringLiteral("d0"), QStringLiteral("c0"));
    seed(1, QStringLiteral("two"), QStringLiteral("d1"), QStringLiteral("c1"));
    seed(2, QStringLiteral("three"), QStringLiteral("d2"), QStringLiteral("c2"));
    {
        CSnippetLibraryDlg dlg(ProfileStore::app());
        dlg.OnCodeSnippetLibrary();
        QCOMPARE(listTexts(dlg), (QStringList{"one", "three", "two"}));
        // With nothing selected there is nothing to remove.
        const QString untouched = m_env.settingsText();
        clickRemove(dlg);
        QCOMPARE(listTexts(dlg).size(), 3);
        QCOMPARE(m_env.settingsText(), untouched);

        clickRow(dlg, 1);
        QCOMPARE(codeField(dlg)->toPlainText(), QLatin1String("c2"));
        clickRemove(dlg);
        QCOMPARE(listTexts(dlg), (QStringList{"one", "two"}));
        QCOMPARE(selectedRow(dlg), -1);
        QVERIFY(descriptionField(dlg)->toPlainText().isEmpty());
        QVERIFY(codeField(dlg)->toPlainText().isEmpty());
        QCOMPARE(stored(QStringLiteral("name2")), kMissing);
        QCOMPARE(stored(QStringLiteral("desc2")), kMissing);
        QCOMPARE(stored(QStringLiteral("code2")), kMissing);
        QCOMPARE(stored(QStringLiteral("name1")), QLatin1String("two"));
        QVERIFY(m_boxes.isEmpty());

        // Nor after a Remove, which leaves no entry selected.
        const QString afterOne = m_env.settingsText();
        clickRemove(dlg);
        QCOMPARE(listTexts(dlg).size(), 2);
        QCOMPARE(m_env.settingsText(), afterOne);
    }
    ProfileStore::reopenApp();
    CSnippetLibraryDlg again(ProfileStore::app());
    QCOMPARE(listTexts(again), (QStringList{"one", "two"}));
}

void SnippetDialogsTest::sameNamesFindHigherSlot()
{
    seed(2, QStringLiteral("Intro"), QStringLiteral("low"), QStringLiteral("low code"));
    seed(9, QStringLiteral("Intro"), QStringLiteral("high"), QStringLiteral("high code"));
    CSnippetLibraryDlg dlg(ProfileStore::app());
    dlg.OnCodeSnippetLibrary();
    QCOMPARE(listTexts(dlg), (QStringList{"Intro", "Intro"}));
    for (int row : {0, 1}) {
        clickRow(dlg, row);
        QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("high"));
        QCOMPARE(codeField(dlg)->toPlainText(), QLatin1String("high code"));
    }

    clickRemove(dlg);  // the second entry is selected
    QCOMPARE(listTexts(dlg), QStringList{"Intro"});
    QCOMPARE(stored(QStringLiteral("name9")), kMissing);
    QCOMPARE(stored(QStringLiteral("code9")), kMissing);
    QCOMPARE(stored(QStringLiteral("name2")), QLatin1String("Intro"));

    // What is left is the lower slot, and Remove takes that one next.
    clickRow(dlg, 0);
    QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("low"));
    clickRemove(dlg);
    QVERIFY(listTexts(dlg).isEmpty());
    QCOMPARE(stored(QStringLiteral("name2")), kMissing);
}

void SnippetDialogsTest::namesDifferingInCaseStayApart()
{
    seed(0, QStringLiteral("Intro"), QStringLiteral("upper"), QStringLiteral("U"));
    seed(1, QStringLiteral("intro"), QStringLiteral("lower"), QStringLiteral("L"));
    CSnippetLibraryDlg dlg(ProfileStore::app());
    dlg.OnCodeSnippetLibrary();
    QCOMPARE(listTexts(dlg), (QStringList{"Intro", "intro"}));
    clickRow(dlg, 0);
    QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("upper"));
    clickRow(dlg, 1);
    QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("lower"));

    // Removing "intro" must take its own entry, not the first one that looks alike.
    clickRemove(dlg);
    QCOMPARE(listTexts(dlg), QStringList{"Intro"});
    QCOMPARE(stored(QStringLiteral("name1")), kMissing);
    QCOMPARE(stored(QStringLiteral("name0")), QLatin1String("Intro"));
    clickRow(dlg, 0);
    QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("upper"));
}

void SnippetDialogsTest::closingOnlyHides()
{
    seed(0, QStringLiteral("a"), QStringLiteral("da"), QStringLiteral("ca"));
    seed(1, QStringLiteral("b"), QStringLiteral("db"), QStringLiteral("cb"));
    CSnippetLibraryDlg dlg(ProfileStore::app());
    QPointer<CSnippetLibraryDlg> alive(&dlg);
    dlg.OnCodeSnippetLibrary();
    clickRow(dlg, 1);

    const auto expectUnchanged = [&] {
        QCOMPARE(listTexts(dlg), (QStringList{"a", "b"}));
        QCOMPARE(selectedRow(dlg), 1);
        QCOMPARE(descriptionField(dlg)->toPlainText(), QLatin1String("db"));
        QCOMPARE(codeField(dlg)->toPlainText(), QLatin1String("cb"));
    };

    dlg.controlAs<QPushButton>(ids::IDOK)->click();
    QVERIFY(!dlg.isVisible());
    dlg.OnCodeSnippetLibrary();
    QVERIFY(dlg.isVisible());
    expectUnchanged();

    list(dlg)->setFocus();
    QTest::keyClick(list(dlg), Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    dlg.OnCodeSnippetLibrary();
    expectUnchanged();

    dlg.close();  // the caption's close box
    QVERIFY(!dlg.isVisible());
    QVERIFY(alive);
    dlg.OnCodeSnippetLibrary();
    dlg.OnCodeSnippetLibrary();  // F8 while shown
    QVERIFY(dlg.isVisible());
    expectUnchanged();
}

void SnippetDialogsTest::codeCanBeCopied()
{
    const QString code = QStringLiteral("\tVEL\t\tDreadnt,0,0,0\n\tROT\t\tDreadnt,0,0,0");
    seed(0, QStringLiteral("Still"), QStringLiteral("Stops the ship"), code);
    CSnippetLibraryDlg dlg(ProfileStore::app());
    dlg.OnCodeSnippetLibrary();
    clickRow(dlg, 0);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    codeField(dlg)->setFocus();
    QTest::keySequence(codeField(dlg), QKeySequence::SelectAll);
    QTest::keySequence(codeField(dlg), QKeySequence::Copy);
    QString copied = QApplication::clipboard()->text();
    copied.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QCOMPARE(copied, code);
}

void SnippetDialogsTest::addStoresSnippetFromControls()
{
    CSnippetLibraryDlg library(ProfileStore::app());
    QString focusName;
    QVERIFY(runAdd(library, QStringLiteral("\tWAIT_TIME 100\n\tBRA\t\tEnd"), [&](CAddSnippetDlg* d) {
        QCOMPARE(d->windowTitle(), QLatin1String("Add Code Snippet to Library"));
        // OK leads the tab order.
        QCOMPARE(nextTabStop(okButton(d)), descriptionEdit(d));
        QCOMPARE(nextTabStop(descriptionEdit(d)), d->control(ids::IDCANCEL));
        QCOMPARE(nextTabStop(d->control(ids::IDCANCEL)), nameEdit(d));
        QCOMPARE(nextTabStop(nameEdit(d)), okButton(d));
        // It waits for a name, so the typing starts in the name field.
        QVERIFY(!okButton(d)->isEnabled());
        QCOMPARE(d->focusWidget(), nameEdit(d));
        QTest::keyClicks(nameEdit(d), QStringLiteral("Wait and end"));
        QVERIFY(okButton(d)->isEnabled());

        // Return in the description starts a new line and leaves the dialog open.
        descriptionEdit(d)->setFocus();
        QTest::keyClicks(descriptionEdit(d), QStringLiteral("Waits,"));
        QTest::keyClick(descriptionEdit(d), Qt::Key_Return);
        QTest::keyClicks(descriptionEdit(d), QStringLiteral("then \"jumps\""));
        QVERIFY(d->isVisible());
        QCOMPARE(descriptionEdit(d)->toPlainText(), QLatin1String("Waits,\nthen \"jumps\""));

        // Return in the name field presses OK.
        nameEdit(d)->setFocus();
        QTest::keyClick(nameEdit(d), Qt::Key_Return);
    }));
    QVERIFY(m_boxes.isEmpty());
    QCOMPARE(stored(QStringLiteral("name0")), QLatin1String("Wait and end"));
    QCOMPARE(stored(QStringLiteral("desc0")), QLatin1String("Waits,\nthen \"jumps\""));
    QCOMPARE(stored(QStringLiteral("code0")), QLatin1String("\tWAIT_TIME 100\n\tBRA\t\tEnd"));
    QCOMPARE(library.library().name(0), QLatin1String("Wait and end"));

    // Listed at once although the dialog is hidden, and shown when selected.
    QVERIFY(!library.isVisible());
    QCOMPARE(listTexts(library), QStringList{"Wait and end"});
    library.OnCodeSnippetLibrary();
    clickRow(library, 0);
    QCOMPARE(descriptionField(library)->toPlainText(), QLatin1String("Waits,\nthen \"jumps\""));
    QCOMPARE(codeField(library)->toPlainText(), QLatin1String("\tWAIT_TIME 100\n\tBRA\t\tEnd"));

    // An empty selection gives empty code; the same name a second slot.
    QVERIFY(addSnippet(library, QStringLiteral("Wait and end"), QString(), QString()));
    QCOMPARE(stored(QStringLiteral("name1")), QLatin1String("Wait and end"));
    QCOMPARE(stored(QStringLiteral("code1")), QString(""));
    QCOMPARE(listTexts(library), (QStringList{"Wait and end", "Wait and end"}));
}

void SnippetDialogsTest::addKeepsLibraryViewAsItWas()
{
    seed(0, QStringLiteral("b"), QStringLiteral("db"), QStringLiteral("cb"));
    seed(1, QStringLiteral("d"), QStringLiteral("dd"), QStringLiteral("cd"));
    CSnippetLibraryDlg library(ProfileStore::app());
    library.OnCodeSnippetLibrary();
    clickRow(library, 1);
    QVERIFY(addSnippet(library, QStringLiteral("C"), QStringLiteral("dc"), QStringLiteral("cc")));
    QVERIFY(addSnippet(library, QStringLiteral("a"), QStringLiteral("da"), QStringLiteral("ca")));
    QVERIFY(addSnippet(library, QStringLiteral("E"), QStringLiteral("de"), QStringLiteral("ce")));
    QCOMPARE(listTexts(library), (QStringList{"a", "b", "C", "d", "E"}));
    QCOMPARE(list(library)->selectedItems().size(), 1);
    QCOMPARE(list(library)->selectedItems().first()->text(), QLatin1String("d"));
    QCOMPARE(descriptionField(library)->toPlainText(), QLatin1String("dd"));
    QCOMPARE(codeField(library)->toPlainText(), QLatin1String("cd"));
    QCOMPARE(stored(QStringLiteral("name4")), QLatin1String("E"));
}

void SnippetDialogsTest::addWantsName()
{
    CSnippetLibraryDlg library(ProfileStore::app());
    const QString before = m_env.settingsText();
    QVERIFY(runAdd(library, QStringLiteral("code"), [&](CAddSnippetDlg* d) {
        QVERIFY(!okButton(d)->isEnabled());
        QTest::keyClick(nameEdit(d), Qt::Key_Return);
        QVERIFY(d->isVisible());
        QTest::keyClicks(nameEdit(d), QStringLiteral(" \t "));
        QVERIFY(!okButton(d)->isEnabled());
        QTest::keyClick(nameEdit(d), Qt::Key_Return);
        QVERIFY(d->isVisible());
        // Other ways of accepting are refused as well.
        d->accept();
        QVERIFY(d->isVisible());
        QTest::keyClicks(nameEdit(d), QStringLiteral("x"));
        QVERIFY(okButton(d)->isEnabled());
        nameEdit(d)->clear();
        QVERIFY(!okButton(d)->isEnabled());
        QTest::keyClick(d, Qt::Key_Escape);
    }));
    QCOMPARE(m_env.settingsText(), before);
    QVERIFY(listTexts(library).isEmpty());

    // A name with blanks around it is kept exactly as typed.
    QVERIFY(addSnippet(library, QStringLiteral("  spaced  "), QString(), QString()));
    QCOMPARE(stored(QStringLiteral("name0")), QLatin1String("  spaced  "));
}

void SnippetDialogsTest::addCancelStoresNothing()
{
    seed(0, QStringLiteral("kept"), QStringLiteral("d"), QStringLiteral("c"));
    CSnippetLibraryDlg library(ProfileStore::app());
    const QString before = m_env.settingsText();
    const std::function<void(CAddSnippetDlg*)> closers[] = {
        [](CAddSnippetDlg* d) { d->controlAs<QPushButton>(ids::IDCANCEL)->click(); },
        [](CAddSnippetDlg* d) { QTest::keyClick(nameEdit(d), Qt::Key_Escape); },
        [](CAddSnippetDlg* d) { d->close(); },
        // Return on a focused Cancel cancels.
        [](CAddSnippetDlg* d) {
            d->control(ids::IDCANCEL)->setFocus();
            QTest::keyClick(d->control(ids::IDCANCEL), Qt::Key_Return);
        },
    };
    for (const auto& close : closers) {
        QVERIFY(runAdd(library, QStringLiteral("code"), [&](CAddSnippetDlg* d) {
            nameEdit(d)->setText(QStringLiteral("new"));
            descriptionEdit(d)->setPlainText(QStringLiteral("description"));
            close(d);
        }));
    }
    QCOMPARE(m_env.settingsText(), before);
    QCOMPARE(listTexts(library), QStringList{"kept"});
    QVERIFY(m_boxes.isEmpty());
}

void SnippetDialogsTest::addToFullLibraryIsRefused()
{
    ProfileStore& store = ProfileStore::app();
    store.beginBatch();
    for (int i = 0; i < 128; ++i)
        seed(i, QStringLiteral("s%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("d"), QStringLiteral("c"));
    store.commitBatch();
    CSnippetLibraryDlg library(ProfileStore::app());
    QCOMPARE(list(library)->count(), 128);
    const QString before = m_env.settingsText();

    // Cancel says nothing, also when full.
    QVERIFY(runAdd(library, QStringLiteral("code"), [](CAddSnippetDlg* d) {
        nameEdit(d)->setText(QStringLiteral("more"));
        d->reject();
    }));
    QVERIFY(m_boxes.isEmpty());

    bool shown = false;
    QVERIFY(runAdd(library, QStringLiteral("code"), [&](CAddSnippetDlg* d) {
        shown = true;
        nameEdit(d)->setText(QStringLiteral("more"));
        okButton(d)->click();
    }));
    QVERIFY(shown);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, QString(str::kSnippetLibraryFull));
    QCOMPARE(m_boxes[0].caption, QString(str::kCaptionSnippetError));
    QCOMPARE(m_boxes[0].flags, 0x30u);
    QCOMPARE(m_env.settingsText(), before);
    QCOMPARE(list(library)->count(), 128);
    QVERIFY(listTexts(library).indexOf(QStringLiteral("more")) < 0);
    QCOMPARE(library.library().findSlot(QStringLiteral("more")), SnippetLibrary::kNoSlot);
}

void SnippetDialogsTest::addFillsGapLeftByRemove()
{
    for (int i = 0; i < 10; ++i)
        seed(i, QStringLiteral("n%1").arg(i), QStringLiteral("d%1").arg(i), QStringLiteral("c%1").arg(i));
    CSnippetLibraryDlg library(ProfileStore::app());
    library.OnCodeSnippetLibrary();
    clickRow(library, listTexts(library).indexOf(QStringLiteral("n3")));
    clickRemove(library);

    QVERIFY(addSnippet(library, QStringLiteral("gap"), QStringLiteral("dg"), QStringLiteral("cg")));
    QCOMPARE(stored(QStringLiteral("name3")), QLatin1String("gap"));
    QCOMPARE(stored(QStringLiteral("code3")), QLatin1String("cg"));
    QVERIFY(addSnippet(library, QStringLiteral("next"), QStringLiteral("dn"), QStringLiteral("cn")));
    QCOMPARE(stored(QStringLiteral("name10")), QLatin1String("next"));
    QCOMPARE(stored(QStringLiteral("name4")), QLatin1String("n4"));

    clickRow(library, listTexts(library).indexOf(QStringLiteral("gap")));
    QCOMPARE(codeField(library)->toPlainText(), QLatin1String("cg"));
}

void SnippetDialogsTest::unusualTextsSurviveRestart()
{
    const QString name = QStringLiteral(u"Caf\u00e9, \"quoted\" @x = \u20ac");
    const QString description =
        QStringLiteral(u"Line one, with a comma\n\u201equotes\u201c @home = \u00ff\u00df\u2122\nlast");
    const QString code = QStringLiteral(u"@start\n\tSYSTEM \t\t\"Sol\",\"L4\" ; x=y \u00e9\n\\psg\\resource");
    {
        CSnippetLibraryDlg library(ProfileStore::app());
        QVERIFY(addSnippet(library, name, description, code));
    }
    ProfileStore::reopenApp();
    CSnippetLibraryDlg library(ProfileStore::app());
    library.OnCodeSnippetLibrary();
    QCOMPARE(listTexts(library), QStringList{name});
    clickRow(library, 0);
    QCOMPARE(descriptionField(library)->toPlainText(), description);
    QCOMPARE(codeField(library)->toPlainText(), code);
}

void SnippetDialogsTest::longNameWorksThroughout()
{
    const QString name = QString(10000, QLatin1Char('n')) + QStringLiteral("!");
    {
        CSnippetLibraryDlg library(ProfileStore::app());
        QVERIFY(addSnippet(library, name, QStringLiteral("long"), QStringLiteral("code")));
        QCOMPARE(stored(QStringLiteral("name0")), name);
    }
    ProfileStore::reopenApp();
    CSnippetLibraryDlg library(ProfileStore::app());
    library.OnCodeSnippetLibrary();
    QCOMPARE(listTexts(library), QStringList{name});
    clickRow(library, 0);
    QCOMPARE(descriptionField(library)->toPlainText(), QLatin1String("long"));
    clickRemove(library);
    QVERIFY(listTexts(library).isEmpty());
    QCOMPARE(stored(QStringLiteral("name0")), kMissing);
}

QTEST_MAIN(SnippetDialogsTest)
#include "SnippetDialogsTest.moc"
