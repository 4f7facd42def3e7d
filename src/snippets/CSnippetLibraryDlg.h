// The modeless Code Snippet Library dialog and the in-memory snippet library.
#pragma once

#include "platform/DialogBuilder.h"
#include "snippets/SnippetLibrary.h"

class ProfileStore;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

class CSnippetLibraryDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Loads the library from the store and creates the hidden window with its
    // list filled. With a parent it is a window of that parent's, which goes
    // with it.
    explicit CSnippetLibraryDlg(ProfileStore& store, QWidget* parent = nullptr);

    // Shows the dialog as it was left.
    void showLibrary();

    // Stores the snippet in the lowest slot free in the store, lists its name
    // and sets the slot in memory; the selection and the two fields stay as
    // they are. The slot, or SnippetLibrary::kNoSlot when the library is full.
    int addSnippet(const QString& name, const QString& description, const QString& code);

signals:
    // The user double-clicked an entry, or pressed Enter on the selected one.
    void insertRequested(const QString& code);

protected:
    // Enter on the list inserts the selected snippet and never reaches the
    // dialog's default Close button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the library again when the store has changed since it was read
    // (another editor added or removed snippets).
    void reloadIfChanged();
    void OnSelchangeSnippetList();
    void OnRemoveSnippet();
    void requestInsert(const QListWidgetItem* item);

    // Adds a name at its sorted place, like a sorted list box: letters compare
    // without regard to case, and a name goes after those that compare equal.
    void addToList(const QString& name);
    // The text of the selected list entry; null when nothing is selected.
    QString selectedName() const;
    void showTexts(const QString& description, const QString& code);

    QPushButton* m_removeButton = nullptr;
    QListWidget* m_snippetList = nullptr;
    QPlainTextEdit* m_descriptionField = nullptr;
    QPlainTextEdit* m_codeField = nullptr;
    SnippetLibrary m_library;
    ProfileStore& m_store;
    quint64 m_loadedRevision = 0;
    // Set while the program itself changes the list, whose selection signals
    // only the user's choices should answer.
    bool m_changingList = false;
};
