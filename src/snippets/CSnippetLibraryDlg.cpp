#include "snippets/CSnippetLibraryDlg.h"

#include "resources/dialogs.h"

CSnippetLibraryDlg::CSnippetLibraryDlg(ProfileStore& store)
    : TemplateDialog(res::snippetLibraryTemplate()), m_store(store)
{
}

void CSnippetLibraryDlg::OnCodeSnippetLibrary() { showNormal(); }

namespace snippets {
void OnAddCodeSnippet(QWidget*, CSnippetLibraryDlg&, const QString&) {}
}  // namespace snippets
