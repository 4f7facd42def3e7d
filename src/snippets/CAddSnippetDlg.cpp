#include "snippets/CAddSnippetDlg.h"

#include "platform/MessageBox.h"
#include "resources/dialogs.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "snippets/CSnippetLibraryDlg.h"

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

void CAddSnippetDlg::showEvent(QShowEvent* event)
{
    // OK leads the tab order and takes the focus; while it waits for a name
    // it cannot, and the name field is where the typing has to start.
    auto* ok = controlAs<QPushButton>(ids::IDOK);
    if (ok && ok->isEnabled())
        ok->setFocus(Qt::OtherFocusReason);
    else if (QWidget* name = control(ids::IDC_ADD_NAME))
        name->setFocus(Qt::OtherFocusReason);
    TemplateDialog::showEvent(event);
}

namespace snippets {

void OnAddCodeSnippet(QWidget* owner, CSnippetLibraryDlg& library, const QString& selectedText)
{
    CAddSnippetDlg dlg(owner ? owner->window() : nullptr);
    if (dlg.DoModal() != ids::IDOK)
        return;
    const int slot = library.findFreeSlot();
    if (slot == SnippetLibrary::kNoSlot) {
        mb::show(owner, str::kSnippetLibraryFull, str::kCaptionSnippetError, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return;
    }
    library.storeSnippet(slot, dlg.m_name, dlg.m_description, selectedText);
}

}  // namespace snippets
