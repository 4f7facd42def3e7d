#include "snippets/CSnippetLibraryDlg.h"

#include "platform/ProfileStore.h"
#include "platform/ScriptFont.h"
#include "resources/dialogs.h"
#include "resources/ids.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

CSnippetLibraryDlg::CSnippetLibraryDlg(ProfileStore& store, QWidget* parent)
    : TemplateDialog(res::snippetLibraryTemplate(), parent), m_store(store)
{
    m_removeButton = controlAs<QPushButton>(ids::IDC_REMOVE_SNIPPET);
    m_snippetList = controlAs<QListWidget>(ids::IDC_SNIPPET_LIST);
    m_descriptionField = controlAs<QPlainTextEdit>(ids::IDC_SNIPPET_DESCRIPTION);
    m_codeField = controlAs<QPlainTextEdit>(ids::IDC_SNIPPET_CODE);
    // Code looks as it does in the editor, columns and all.
    scriptfont::apply(m_codeField);

    // Return on a focused Remove presses Remove, not the default Close.
    m_removeButton->setAutoDefault(true);
    m_snippetList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_snippetList->installEventFilter(this);

    connect(m_snippetList, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_changingList)
            OnSelchangeSnippetList();
    });
    connect(m_snippetList, &QListWidget::itemDoubleClicked, this, &CSnippetLibraryDlg::requestInsert);
    connect(m_removeButton, &QPushButton::clicked, this, &CSnippetLibraryDlg::OnRemoveSnippet);

    reloadIfChanged();
}

void CSnippetLibraryDlg::reloadIfChanged()
{
    const quint64 revision = m_store.revision();
    if (revision == m_loadedRevision)
        return;
    m_loadedRevision = revision;
    const QString selected = selectedName();
    m_library.load(m_store);
    m_changingList = true;
    m_snippetList->clear();
    m_changingList = false;
    for (int i = 0; i < SnippetLibrary::kSlotCount; ++i) {
        if (!m_library.name(i).isEmpty())
            addToList(m_library.name(i));
    }
    // The snippet shown stays shown while it is still there.
    const QList<QListWidgetItem*> same = m_snippetList->findItems(selected, Qt::MatchExactly);
    if (!selected.isNull() && !same.isEmpty()) {
        m_changingList = true;
        m_snippetList->setCurrentItem(same.first());
        m_changingList = false;
    }
    OnSelchangeSnippetList();
    if (selectedName().isNull())
        showTexts(QString(), QString());
}

void CSnippetLibraryDlg::showLibrary()
{
    reloadIfChanged();
    showNormal();
    raise();
    activateWindow();
}

bool CSnippetLibraryDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_snippetList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const QList<QListWidgetItem*> selected = m_snippetList->selectedItems();
            if (!selected.isEmpty())
                requestInsert(selected.first());
            return true;
        }
    }
    return TemplateDialog::eventFilter(watched, event);
}

void CSnippetLibraryDlg::requestInsert(const QListWidgetItem* item)
{
    // A snippet without code would only delete what is selected in the script.
    const int slot = item ? m_library.findSlot(item->text()) : SnippetLibrary::kNoSlot;
    if (slot != SnippetLibrary::kNoSlot && !m_library.code(slot).isEmpty())
        emit insertRequested(m_library.code(slot));
}

int CSnippetLibraryDlg::addSnippet(const QString& name, const QString& description, const QString& code)
{
    // The list shows the library as the store has it before the new name joins it.
    reloadIfChanged();
    const int slot = m_library.add(m_store, name, description, code);
    if (slot != SnippetLibrary::kNoSlot)
        addToList(name);
    m_loadedRevision = m_store.revision();
    return slot;
}

void CSnippetLibraryDlg::addToList(const QString& name)
{
    int lo = 0;
    int hi = m_snippetList->count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (QString::compare(m_snippetList->item(mid)->text(), name, Qt::CaseInsensitive) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    m_changingList = true;
    m_snippetList->insertItem(lo, name);
    m_changingList = false;
}

QString CSnippetLibraryDlg::selectedName() const
{
    const QList<QListWidgetItem*> selected = m_snippetList->selectedItems();
    if (selected.isEmpty())
        return QString();
    return selected.first()->text();
}

void CSnippetLibraryDlg::showTexts(const QString& description, const QString& code)
{
    // Replaced whole, with no undo history: the fields only show the library.
    m_descriptionField->setPlainText(description);
    m_codeField->setPlainText(code);
}

void CSnippetLibraryDlg::OnSelchangeSnippetList()
{
    const QString name = selectedName();
    if (name.isNull())
        return;
    const int slot = m_library.findSlot(name);
    if (slot == SnippetLibrary::kNoSlot)
        showTexts(QString(), QString());
    else
        showTexts(m_library.description(slot), m_library.code(slot));
}

void CSnippetLibraryDlg::OnRemoveSnippet()
{
    // With nothing selected, or a name that no slot holds, there is nothing
    // that could be removed safely: leave the library alone.
    const QString name = selectedName();
    if (name.isNull())
        return;
    const int slot = m_library.findSlot(name);
    if (slot == SnippetLibrary::kNoSlot)
        return;

    // Entries of the same text are alike, so the first one goes. The text must
    // match exactly: "Intro" must not take the entry of "intro" with it, or the
    // list would stop showing what the library holds.
    m_changingList = true;
    for (int row = 0; row < m_snippetList->count(); ++row) {
        if (m_snippetList->item(row)->text() == name) {
            delete m_snippetList->takeItem(row);
            break;
        }
    }
    // The fields are emptied, so no entry stays selected beside them.
    m_snippetList->clearSelection();
    m_snippetList->setCurrentRow(-1);
    m_changingList = false;

    m_library.remove(m_store, slot);
    m_loadedRevision = m_store.revision();
    showTexts(QString(), QString());
}
