// The modeless Code Snippet Library dialog and the in-memory snippet library.
#pragma once

#include "platform/DialogBuilder.h"

class ProfileStore;

class CSnippetLibraryDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Loads the library from the store and creates the hidden window with its list filled.
    explicit CSnippetLibraryDlg(ProfileStore& store);

    // Script > Code Snippet Library: shows the dialog as it was left.
    void OnCodeSnippetLibrary();

private:
    ProfileStore& m_store;
};

namespace snippets {
// Script > Add Code Snippet to Library: stores selectedText under a typed name.
void OnAddCodeSnippet(QWidget* owner, CSnippetLibraryDlg& library, const QString& selectedText);
}  // namespace snippets
