#include "snippets/CAddSnippetDlg.h"

#include "resources/dialogs.h"
#include "resources/ids.h"

#include <QLineEdit>
#include <QPushButton>

CAddSnippetDlg::CAddSnippetDlg(QWidget* parent) : TemplateDialog(res::addSnippetTemplate(), parent)
{
    // Return on a focused Cancel cancels rather than pressing the default OK.
    if (auto* cancel = controlAs<QPushButton>(ids::IDCANCEL))
        cancel->setAutoDefault(true);
    if (auto* name = controlAs<QLineEdit>(ids::IDC_ADD_NAME))
        connect(name, &QLineEdit::textChanged, this, &CAddSnippetDlg::updateOkButton);
    updateOkButton();
}

bool CAddSnippetDlg::acceptableName(const QString& name) { return !name.trimmed().isEmpty(); }

void CAddSnippetDlg::DoDataExchange(bool save)
{
    DDX_Text(save, ids::IDC_ADD_DESCRIPTION, m_description);
    DDX_Text(save, ids::IDC_ADD_NAME, m_name);
}

void CAddSnippetDlg::updateOkButton()
{
    auto* ok = controlAs<QPushButton>(ids::IDOK);
    auto* name = controlAs<QLineEdit>(ids::IDC_ADD_NAME);
    if (ok && name)
        ok->setEnabled(acceptableName(name->text()));
}

void CAddSnippetDlg::accept()
{
    // OK is disabled without a name; this also holds for any other way of accepting.
    auto* name = controlAs<QLineEdit>(ids::IDC_ADD_NAME);
    if (name && !acceptableName(name->text()))
        return;
    TemplateDialog::accept();
}
