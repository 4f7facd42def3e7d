// The modeless Code Snippet Library dialog and the in-memory snippet library.
#pragma once

#include "platform/DialogBuilder.h"
#include "snippets/SnippetLibrary.h"

class ProfileStore;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class CSnippetLibraryDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Loads the library from the store and creates the hidden window with its list filled.
    explicit CSnippetLibraryDlg(ProfileStore& store);

    // Script > Code Snippet Library: shows the dialog as it was left.
    void OnCodeSnippetLibrary();

    // The lowest free slot according to the store, or SnippetLibrary::kNoSlot.
    int findFreeSlot() const;
    // Writes the snippet into the slot, lists its name and sets the slot in memory.
    // The selection and the two fields stay as they are.
    void storeSnippet(int slot, const QString& name, const QString& description, const QString& code);

    const SnippetLibrary& library() const { return m_library; }

private:
    void OnSelchangeSnippetList();
    void OnRemoveSnippet();

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
    // Set while the program itself changes the list, whose selection signals
    // only the user's choices should answer.
    bool m_changingList = false;
};

namespace snippets {
// Script > Add Code Snippet to Library: stores selectedText under a typed name.
void OnAddCodeSnippet(QWidget* owner, CSnippetLibraryDlg& library, const QString& selectedText);
}  // namespace snippets
